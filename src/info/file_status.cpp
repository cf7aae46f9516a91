// The runtime's 64-bit status and time-text functions are looked up when called: runtimes older
// than them (Windows 9x, NT 4) still load the module and answer through the 32-bit ones.
#include <windows.h>
#include <sys/stat.h>
#include <ctime>

#include "info/file_status.h"
#include "state/file_size.h"

namespace {

constexpr char RUNTIME_MODULE[] = "msvcrt.dll";
constexpr char WIDE_STAT_NAME[] = "_stat64";
constexpr char WIDE_TIME_TEXT_NAME[] = "_ctime64";

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

bool ReadWideStatus(WideStatRoutine wideStat, const char* path, struct _stat64& record, FileStatus& status) {
    if (wideStat(path, &record) != 0) return false;
    status = {record.st_size, {record.st_ctime, record.st_mtime, record.st_atime}};
    return true;
}

// The whole size of a file from its directory entry, or the low 32 bits the runtime gave when
// the entry cannot be read. _stat refuses names with wildcards, so the search finds this file.
std::int64_t WholeSize(const char* path, std::uint32_t lowBits) {
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA(path, &entry);
    if (search == INVALID_HANDLE_VALUE) return lowBits;
    FindClose(search);
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

bool ReadStatusWith(WideStatRoutine wideStat, const char* path, FileStatus& status) {
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
