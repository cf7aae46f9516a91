// The runtime's 64-bit status and local-time functions come from the table of calls that differ by
// Windows version: runtimes older than them (Windows 9x, NT 4) still load the module and answer
// through the 32-bit ones. A name
// whose last byte the runtime takes for a trailing backslash (表 in code page 932) is looked up
// in its directory instead, and given the status the runtime gives any other name. Times the
// runtime cannot hold are taken from the directory entry and written by the platform.
#include <windows.h>
#include <sys/stat.h>
#include <cstring>
#include <ctime>

#include "info/file_status.h"
#include "state/file_handles.h"
#include "state/name_characters.h"
#include "state/windows_version.h"

namespace {

constexpr char WILDCARDS[] = "*?";
// FILETIME counts 100-nanosecond intervals from 1601-01-01 00:00 UTC.
constexpr std::int64_t FILETIME_TICKS_PER_SECOND = 10000000;
constexpr std::int64_t FILETIME_SECONDS_TO_1970 = 11644473600;
// The last second each runtime holds: _stat's signed 32 bits end in 2038, Wine's _stat64 ends
// with unsigned 32 bits in 2106.
constexpr std::int64_t NARROW_LAST_SECOND = 0x7FFFFFFF;
constexpr std::int64_t WIDE_LAST_SECOND = 0xFFFFFFFF;
// struct tm counts years from 1900 and months from 0.
constexpr unsigned TM_FIRST_YEAR = 1900;

using WideStatRoutine = WideStatCall::Type;

// The status record of either width, one scratch block for one query.
union StatusRecord {
    struct _stat64 wide;
    struct _stat narrow;
};

// The name's own directory entry, when there is one.
bool FindEntry(const char* path, WIN32_FIND_DATAA& entry) {
    const HANDLE search = FindFirstFileA(path, &entry);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

bool ReadWideStatus(WideStatRoutine wideStat, const char* path, struct _stat64& record, FileStatus& status) {
    if (wideStat(path, &record) != 0) return false;
    status = {record.st_size, {record.st_ctime, record.st_mtime, record.st_atime}};
    return true;
}

// The whole size of a file from its directory entry, or the low 32 bits the runtime gave when
// the entry cannot be read. _stat refuses names with wildcards, so the search finds this file.
std::int64_t WholeSize(const char* path, std::uint32_t lowBits) {
    WIN32_FIND_DATAA entry;
    if (!FindEntry(path, entry)) return lowBits;
    return JoinedSize(entry.nFileSizeHigh, entry.nFileSizeLow);
}

// A 32-bit runtime reports the low 32 bits of a file's size; the rest is asked of the directory
// entry, so that a file of 4 GiB or more is never taken for a small one.
bool ReadNarrowStatus(const char* path, struct _stat& record, FileStatus& status) {
    if (_stat(path, &record) != 0) return false;
    const auto lowBits = static_cast<std::uint32_t>(record.st_size);
    const std::int64_t size = (record.st_mode & _S_IFREG) ? WholeSize(path, lowBits) : lowBits;
    status = {size, {record.st_ctime, record.st_mtime, record.st_atime}};
    return true;
}

std::int64_t SecondsSince1970(const FILETIME& time) {
    const std::int64_t ticks = (static_cast<std::int64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return ticks / FILETIME_TICKS_PER_SECOND - FILETIME_SECONDS_TO_1970;
}

// The name's own directory entry; a pattern is refused: it names no one file, and the runtime
// finds none for it.
bool FindOwnEntry(const char* path, WIN32_FIND_DATAA& entry) {
    return !std::strpbrk(path, WILDCARDS) && FindEntry(path, entry);
}

// The status from the name's own directory entry.
bool ReadEntryStatus(const char* path, FileStatus& status) {
    WIN32_FIND_DATAA entry;
    if (!FindOwnEntry(path, entry)) return false;
    status = {JoinedSize(entry.nFileSizeHigh, entry.nFileSizeLow),
              {SecondsSince1970(entry.ftCreationTime), SecondsSince1970(entry.ftLastWriteTime),
               SecondsSince1970(entry.ftLastAccessTime)}};
    return true;
}

bool ReadStatusWith(WideStatRoutine wideStat, const char* path, FileStatus& status) {
    if (EndsInSecondByteBackslash(path)) return ReadEntryStatus(path, status);
    auto* record = static_cast<StatusRecord*>(LocalAlloc(LPTR, sizeof(StatusRecord)));
    if (!record) return false;
    const bool found = wideStat ? ReadWideStatus(wideStat, path, record->wide, status)
                                : ReadNarrowStatus(path, record->narrow, status);
    LocalFree(record);
    return found;
}

// The status routine of a width: null for the narrow one, _stat.
WideStatRoutine StatusRoutine(RuntimeWidth runtime) {
    return runtime == RuntimeWidth::WIDE ? Platform<WideStatCall>() : nullptr;
}

std::int64_t LastSecond(RuntimeWidth runtime) {
    return runtime == RuntimeWidth::WIDE ? WIDE_LAST_SECOND : NARROW_LAST_SECOND;
}

bool DateOf(const struct tm* local, LocalDate& date) {
    if (!local) return false;
    date = {static_cast<unsigned>(local->tm_year) + TM_FIRST_YEAR, static_cast<unsigned>(local->tm_mon) + 1,
            static_cast<unsigned>(local->tm_mday)};
    return true;
}

// The runtime's own local day for a time it holds.
bool RuntimeDate(std::int64_t time, RuntimeWidth runtime, LocalDate& date) {
    if (runtime == RuntimeWidth::WIDE) {
        const __time64_t wide = time;
        return DateOf(Platform<WideLocalTimeCall>()(&wide), date);
    }
    const time_t narrow = static_cast<time_t>(time);
    return DateOf(std::localtime(&narrow), date);
}

// Local time of a UTC file time: the NT family applies the time zone's rules for that date
// (daylight saving included); the 9x family has only today's offset from UTC.
bool LocalTimeOf(const FILETIME& universal, SYSTEMTIME& local) {
    if (const auto zoneTime = Platform<ZoneTimeCall>()) {
        SYSTEMTIME universalTime;
        return FileTimeToSystemTime(&universal, &universalTime) && zoneTime(nullptr, &universalTime, &local);
    }
    FILETIME localTime;
    return FileTimeToLocalFileTime(&universal, &localTime) && FileTimeToSystemTime(&localTime, &local);
}

// The platform's local day for a time.
bool PlatformDate(std::int64_t time, LocalDate& date) {
    const std::int64_t ticks = (time + FILETIME_SECONDS_TO_1970) * FILETIME_TICKS_PER_SECOND;
    if (ticks < 0) return false;   // before 1601: no file time
    const FILETIME universal = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME local;
    if (!LocalTimeOf(universal, local)) return false;
    date = {local.wYear, local.wMonth, local.wDay};
    return true;
}

// The platform's own time of the name's directory entry where the runtime cannot hold it.
// False when the runtime's time stands: it holds that time, or the entry cannot be read.
bool TimeBeyondRuntime(const char* path, FileTime which, RuntimeWidth runtime, std::int64_t& time) {
    WIN32_FIND_DATAA entry;
    if (!FindOwnEntry(path, entry)) return false;
    const FILETIME* times[FILE_TIME_COUNT] = {&entry.ftCreationTime, &entry.ftLastWriteTime, &entry.ftLastAccessTime};
    const std::int64_t own = SecondsSince1970(*times[TimeIndex(which)]);
    if (own >= 0 && own <= LastSecond(runtime)) return false;
    time = own;
    return true;
}

}  // namespace

RuntimeWidth MachineRuntime() {
    const bool wide = Platform<WideStatCall>() && Platform<WideLocalTimeCall>();
    return wide ? RuntimeWidth::WIDE : RuntimeWidth::NARROW;
}

bool ReadFileStatus(const char* path, FileStatus& status) {
    return ReadStatusWith(StatusRoutine(MachineRuntime()), path, status);
}

bool ReadNarrowFileStatus(const char* path, FileStatus& status) {
    return ReadStatusWith(nullptr, path, status);
}

bool ReadFileDate(const char* path, FileTime which, RuntimeWidth runtime, LocalDate& date) {
    if (MachineRuntime() == RuntimeWidth::NARROW) runtime = RuntimeWidth::NARROW;
    FileStatus status;
    if (!ReadStatusWith(StatusRoutine(runtime), path, status)) return false;
    std::int64_t time = status.times[TimeIndex(which)];
    TimeBeyondRuntime(path, which, runtime, time);
    if (time < 0 || time > LastSecond(runtime)) return PlatformDate(time, date);
    return RuntimeDate(time, runtime, date);
}
