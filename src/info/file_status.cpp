// The runtime's 64-bit status and time-text functions are looked up when called: runtimes older
// than them (Windows 9x, NT 4) still load the module and answer through the 32-bit ones.
#include <windows.h>
#include <sys/stat.h>
#include <ctime>

#include "info/file_status.h"

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

// A 32-bit runtime reports the low 32 bits of the size: read them as unsigned.
bool ReadNarrowStatus(const char* path, struct _stat& record, FileStatus& status) {
    if (_stat(path, &record) != 0) return false;
    status = {static_cast<std::uint32_t>(record.st_size), {record.st_ctime, record.st_mtime, record.st_atime}};
    return true;
}

}  // namespace

bool ReadFileStatus(const char* path, FileStatus& status) {
    auto* record = static_cast<StatusRecord*>(LocalAlloc(LPTR, sizeof(StatusRecord)));
    if (!record) return false;
    const auto wideStat = RuntimeRoutine<WideStatRoutine>(WIDE_STAT_NAME);
    const bool found = wideStat ? ReadWideStatus(wideStat, path, record->wide, status)
                                : ReadNarrowStatus(path, record->narrow, status);
    LocalFree(record);
    return found;
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
