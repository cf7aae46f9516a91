// The runtime's 64-bit status and time-text functions are looked up when called: runtimes older
// than them (Windows 9x, NT 4) still load the module and answer through the 32-bit ones. A name
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

constexpr char WIDE_STAT_NAME[] = "_stat64";
constexpr char WIDE_TIME_TEXT_NAME[] = "_ctime64";
constexpr char ZONE_TIME_NAME[] = "SystemTimeToTzSpecificLocalTime";   // NT family only

constexpr char WILDCARDS[] = "*?";
// FILETIME counts 100-nanosecond intervals from 1601-01-01 00:00 UTC.
constexpr std::int64_t FILETIME_TICKS_PER_SECOND = 10000000;
constexpr std::int64_t FILETIME_SECONDS_TO_1970 = 11644473600;
// The last second each runtime holds: _stat's signed 32 bits end in 2038, Wine's _stat64 ends
// with unsigned 32 bits in 2106.
constexpr std::int64_t NARROW_LAST_SECOND = 0x7FFFFFFF;
constexpr std::int64_t WIDE_LAST_SECOND = 0xFFFFFFFF;

constexpr char WEEKDAY_ABBREVIATIONS[] = "SunMonTueWedThuFriSat";   // SYSTEMTIME counts from Sunday

using WideStatRoutine = int(__cdecl*)(const char* path, struct _stat64* record);
using WideTimeTextRoutine = char*(__cdecl*)(const __time64_t* time);
using ZoneTimeRoutine = BOOL(WINAPI*)(const TIME_ZONE_INFORMATION* zone, const SYSTEMTIME* universal, SYSTEMTIME* local);

// The status record of either width, one scratch block for one query.
union StatusRecord {
    struct _stat64 wide;
    struct _stat narrow;
};

template <typename Routine>
Routine RuntimeRoutine(const char* name) {
    return PlatformCall<Routine>(RUNTIME_LIBRARY, name);
}

// The name's own directory entry, when there is one.
bool FindEntry(const char* path, WIN32_FIND_DATAA& entry) {
    const HANDLE search = FindFirstFileA(path, &entry);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

bool ReadWideStatus(WideStatRoutine wideStat, const char* path, struct _stat64& record, FileStatus& status) {
    if (wideStat(path, &record) != 0) return false;
    status = {record.st_size, {record.st_ctime, record.st_mtime, record.st_atime}, RuntimeWidth::WIDE};
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
    status = {size, {record.st_ctime, record.st_mtime, record.st_atime}, RuntimeWidth::NARROW};
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
bool ReadEntryStatus(const char* path, RuntimeWidth runtime, FileStatus& status) {
    WIN32_FIND_DATAA entry;
    if (!FindOwnEntry(path, entry)) return false;
    status = {JoinedSize(entry.nFileSizeHigh, entry.nFileSizeLow),
              {SecondsSince1970(entry.ftCreationTime), SecondsSince1970(entry.ftLastWriteTime),
               SecondsSince1970(entry.ftLastAccessTime)},
              runtime};
    return true;
}

bool ReadStatusWith(WideStatRoutine wideStat, const char* path, FileStatus& status) {
    if (EndsInSecondByteBackslash(path))
        return ReadEntryStatus(path, wideStat ? RuntimeWidth::WIDE : RuntimeWidth::NARROW, status);
    auto* record = static_cast<StatusRecord*>(LocalAlloc(LPTR, sizeof(StatusRecord)));
    if (!record) return false;
    const bool found = wideStat ? ReadWideStatus(wideStat, path, record->wide, status)
                                : ReadNarrowStatus(path, record->narrow, status);
    LocalFree(record);
    return found;
}

// The status routine of a width: null for the narrow one, _stat.
WideStatRoutine StatusRoutine(RuntimeWidth runtime) {
    return runtime == RuntimeWidth::WIDE ? RuntimeRoutine<WideStatRoutine>(WIDE_STAT_NAME) : nullptr;
}

std::int64_t LastSecond(RuntimeWidth runtime) {
    return runtime == RuntimeWidth::WIDE ? WIDE_LAST_SECOND : NARROW_LAST_SECOND;
}

// The runtime's own text for a time it holds; null when it gives none.
const char* RuntimeTimeText(std::int64_t time, RuntimeWidth runtime) {
    const auto wideText = RuntimeRoutine<WideTimeTextRoutine>(WIDE_TIME_TEXT_NAME);
    if (runtime == RuntimeWidth::WIDE && wideText) {
        const __time64_t wide = time;
        return wideText(&wide);
    }
    const time_t narrow = static_cast<time_t>(time);
    return std::ctime(&narrow);
}

// Local time of a UTC file time: the NT family applies the time zone's rules for that date
// (daylight saving included); the 9x family has only today's offset from UTC.
bool LocalTimeOf(const FILETIME& universal, SYSTEMTIME& local) {
    const auto zoneTime = IsNtPlatform() ? PlatformCall<ZoneTimeRoutine>(KERNEL_LIBRARY, ZONE_TIME_NAME) : nullptr;
    if (zoneTime) {
        SYSTEMTIME universalTime;
        return FileTimeToSystemTime(&universal, &universalTime) && zoneTime(nullptr, &universalTime, &local);
    }
    FILETIME localTime;
    return FileTimeToLocalFileTime(&universal, &localTime) && FileTimeToSystemTime(&localTime, &local);
}

// Writes value in decimal, at least digits long with leading zeros; returns the end.
char* WriteNumber(char* at, unsigned value, int digits) {
    char reversed[8];
    int count = 0;
    do {
        reversed[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value || count < digits);
    while (count) *at++ = reversed[--count];
    return at;
}

char* WriteAbbreviation(char* at, const char* table, int index) {
    for (int i = 0; i < 3; ++i) *at++ = table[3 * index + i];
    return at;
}

// The platform's text for a time, in the runtime's form: weekday, month, two-digit day, hh:mm:ss
// and the whole year (five digits after 9999), then a newline.
bool WritePlatformTimeText(std::int64_t time, char* text) {
    const std::int64_t ticks = (time + FILETIME_SECONDS_TO_1970) * FILETIME_TICKS_PER_SECOND;
    if (ticks < 0) return false;   // before 1601: no file time
    const FILETIME universal = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME local;
    if (!LocalTimeOf(universal, local)) return false;
    char* at = WriteAbbreviation(text, WEEKDAY_ABBREVIATIONS, local.wDayOfWeek % 7);
    *at++ = ' ';
    at = WriteAbbreviation(at, MONTH_ABBREVIATIONS, (local.wMonth + 11) % 12);
    *at++ = ' ';
    at = WriteNumber(at, local.wDay, 2);
    *at++ = ' ';
    at = WriteNumber(at, local.wHour, 2);
    *at++ = ':';
    at = WriteNumber(at, local.wMinute, 2);
    *at++ = ':';
    at = WriteNumber(at, local.wSecond, 2);
    *at++ = ' ';
    at = WriteNumber(at, local.wYear, 4);
    *at++ = '\n';
    *at = '\0';
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

bool WriteTimeText(std::int64_t time, RuntimeWidth runtime, char* text) {
    if (time < 0 || time > LastSecond(runtime)) return WritePlatformTimeText(time, text);
    const char* runtimeText = RuntimeTimeText(time, runtime);
    if (!runtimeText) return false;
    std::strncpy(text, runtimeText, TIME_TEXT_SIZE - 1);
    text[TIME_TEXT_SIZE - 1] = '\0';
    return true;
}

}  // namespace

RuntimeWidth MachineRuntime() {
    const bool wide = RuntimeRoutine<WideStatRoutine>(WIDE_STAT_NAME) && RuntimeRoutine<WideTimeTextRoutine>(WIDE_TIME_TEXT_NAME);
    return wide ? RuntimeWidth::WIDE : RuntimeWidth::NARROW;
}

bool ReadFileStatus(const char* path, FileStatus& status) {
    return ReadStatusWith(StatusRoutine(MachineRuntime()), path, status);
}

bool ReadNarrowFileStatus(const char* path, FileStatus& status) {
    return ReadStatusWith(nullptr, path, status);
}

bool WriteFileTimeText(const char* path, FileTime which, RuntimeWidth runtime, char* text) {
    FileStatus status;
    if (!ReadStatusWith(StatusRoutine(runtime), path, status)) return false;
    std::int64_t time = status.times[TimeIndex(which)];
    TimeBeyondRuntime(path, which, status.runtime, time);
    return WriteTimeText(time, status.runtime, text);
}
