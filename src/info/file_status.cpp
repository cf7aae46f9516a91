// The runtime's 64-bit status and time-text functions are looked up when called: runtimes older
// than them (Windows 9x, NT 4) still load the module and answer through the 32-bit ones. A name
// whose last byte the runtime takes for a trailing backslash (表 in code page 932) is looked up
// in its directory instead, and given the status the runtime gives any other name.
#include <windows.h>
#include <sys/stat.h>
#include <cstring>
#include <ctime>

#include "info/file_status.h"
#include "state/file_size.h"
#include "state/name_characters.h"

namespace {

constexpr char RUNTIME_MODULE[] = "msvcrt.dll";
constexpr char WIDE_STAT_NAME[] = "_stat64";
constexpr char WIDE_TIME_TEXT_NAME[] = "_ctime64";

constexpr char WILDCARDS[] = "*?";
// FILETIME counts 100-nanosecond intervals from 1601-01-01 00:00 UTC.
constexpr std::int64_t FILETIME_TICKS_PER_SECOND = 10000000;
constexpr std::int64_t FILETIME_SECONDS_TO_1970 = 11644473600;

using WideStatRoutine = int(__cdecl*)(const char* path, struct _stat64* record);
using WideTimeTextRoutine = char*(__cdecl*)(const __time64_t* time);

// The status record of either width, one scratch block for one query.
union StatusRecord {
    struct _stat64 wide;
    struct _stat narrow;
};

template <typename Routine>
Routine RuntimeRoutine(const char* name) {
    HMODULE runtime = GetModuleHandleA(RUNTIME_MODULE);
    if (!runtime) return nullptr;
    return reinterpret_cast<Routine>(reinterpret_cast<void*>(GetProcAddress(runtime, name)));
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

// The status from the name's own directory entry. A pattern is refused: it names no one file,
// and the runtime finds none for it.
bool ReadEntryStatus(const char* path, FileStatus& status) {
    if (std::strpbrk(path, WILDCARDS)) return false;
    WIN32_FIND_DATAA entry;
    if (!FindEntry(path, entry)) return false;
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

}  // namespace

bool ReadFileStatus(const char* path, FileStatus& status) {
    return ReadStatusWith(RuntimeRoutine<WideStatRoutine>(WIDE_STAT_NAME), path, status);
}

bool ReadNarrowFileStatus(const char* path, FileStatus& status) {
    return ReadStatusWith(nullptr, path, status);
}

const char* FileTimeText(std::int64_t time) {
    const auto wideText = RuntimeRoutine<WideTimeTextRoutine>(WIDE_TIME_TEXT_NAME);
    if (wideText) {
        const __time64_t wide = time;
        return wideText(&wide);
    }
    const time_t narrow = static_cast<time_t>(time);
    if (narrow != time) return nullptr;   // past what a 32-bit runtime can hold
    return std::ctime(&narrow);
}
