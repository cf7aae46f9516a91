// GetVersionExA is asked once; each call of the table is looked up in its system library the
// first time it is read. The module imports from each of these libraries, so each is loaded
// already where it exists (ntdll.dll on the NT family only).
#include <windows.h>
#include <iterator>

#include "state/windows_version.h"

namespace {

constexpr char KERNEL_LIBRARY[] = "kernel32.dll";
constexpr char NT_LIBRARY[] = "ntdll.dll";
constexpr char RUNTIME_LIBRARY[] = "msvcrt.dll";
constexpr char DIALOG_LIBRARY[] = "comdlg32.dll";
constexpr char SHELL_LIBRARY[] = "shell32.dll";

// Which family is asked for a call: any, or the NT family only (the 9x family lacks it, or
// exports it as a stub that does nothing).
enum class AskedOn { ANY_FAMILY, NT_FAMILY };

struct PlatformCallEntry {
    PlatformCallId id;
    const char* library;
    const char* name;
    AskedOn askedOn;
};

// Why each is looked up: MoveFileExA is the NT family's rename within a volume; ReplaceFileA
// came with Windows 2000, GetDiskFreeSpaceExA with 95 OSR2 and NT 4.0; SystemTimeToTzSpecific-
// LocalTime converts a date by the zone's rules for that date; the wide calls spell any name the
// code page cannot; the NT layer deletes and renames through a held handle; _stat64 and
// _localtime64 came with Visual C++ .NET's runtime, after Windows 98 and NT 4.0.
constexpr PlatformCallEntry PLATFORM_CALLS[] = {
    {PlatformCallId::MOVE_FILE_EX, KERNEL_LIBRARY, "MoveFileExA", AskedOn::NT_FAMILY},
    {PlatformCallId::REPLACE_FILE, KERNEL_LIBRARY, "ReplaceFileA", AskedOn::ANY_FAMILY},
    {PlatformCallId::DISK_FREE_SPACE_EX, KERNEL_LIBRARY, "GetDiskFreeSpaceExA", AskedOn::ANY_FAMILY},
    {PlatformCallId::ZONE_TIME, KERNEL_LIBRARY, "SystemTimeToTzSpecificLocalTime", AskedOn::NT_FAMILY},
    {PlatformCallId::FIND_FIRST_FILE_W, KERNEL_LIBRARY, "FindFirstFileW", AskedOn::NT_FAMILY},
    {PlatformCallId::CREATE_FILE_W, KERNEL_LIBRARY, "CreateFileW", AskedOn::NT_FAMILY},
    {PlatformCallId::QUERY_INFORMATION_FILE, NT_LIBRARY, "NtQueryInformationFile", AskedOn::NT_FAMILY},
    {PlatformCallId::SET_INFORMATION_FILE, NT_LIBRARY, "NtSetInformationFile", AskedOn::NT_FAMILY},
    {PlatformCallId::QUERY_VOLUME_INFORMATION_FILE, NT_LIBRARY, "NtQueryVolumeInformationFile", AskedOn::NT_FAMILY},
    {PlatformCallId::STATUS_TO_ERROR, NT_LIBRARY, "RtlNtStatusToDosError", AskedOn::NT_FAMILY},
    {PlatformCallId::WIDE_STAT, RUNTIME_LIBRARY, "_stat64", AskedOn::ANY_FAMILY},
    {PlatformCallId::WIDE_LOCAL_TIME, RUNTIME_LIBRARY, "_localtime64", AskedOn::ANY_FAMILY},
    {PlatformCallId::GET_OPEN_FILE_NAME_W, DIALOG_LIBRARY, "GetOpenFileNameW", AskedOn::NT_FAMILY},
    {PlatformCallId::GET_SAVE_FILE_NAME_W, DIALOG_LIBRARY, "GetSaveFileNameW", AskedOn::NT_FAMILY},
    {PlatformCallId::BROWSE_FOR_FOLDER_W, SHELL_LIBRARY, "SHBrowseForFolderW", AskedOn::NT_FAMILY},
    {PlatformCallId::PATH_FROM_ID_LIST_W, SHELL_LIBRARY, "SHGetPathFromIDListW", AskedOn::NT_FAMILY},
};
constexpr std::size_t CALL_COUNT = static_cast<std::size_t>(PlatformCallId::COUNT);
static_assert(std::size(PLATFORM_CALLS) == CALL_COUNT);

constexpr bool RowsInOrder() {
    for (std::size_t i = 0; i < CALL_COUNT; ++i)
        if (static_cast<std::size_t>(PLATFORM_CALLS[i].id) != i) return false;
    return true;
}
static_assert(RowsInOrder());

// What has been looked up: plain data, set on first reading (the module runs no start-up code).
FARPROC foundCalls[CALL_COUNT];
bool lookedUp[CALL_COUNT];

// The version record, asked once; all zero when it cannot be had.
OSVERSIONINFOA runningWindows;
bool versionAsked;

const OSVERSIONINFOA& RunningWindows() {
    if (versionAsked) return runningWindows;
    versionAsked = true;
    runningWindows.dwOSVersionInfoSize = sizeof runningWindows;
    if (!GetVersionExA(&runningWindows)) runningWindows = OSVERSIONINFOA{};
    return runningWindows;
}

FARPROC LookUp(const PlatformCallEntry& entry) {
    if (entry.askedOn == AskedOn::NT_FAMILY && !IsNtPlatform()) return nullptr;
    const HMODULE loaded = GetModuleHandleA(entry.library);
    return loaded ? GetProcAddress(loaded, entry.name) : nullptr;
}

}  // namespace

bool IsNtPlatform() {
    return RunningWindows().dwPlatformId == VER_PLATFORM_WIN32_NT;
}

bool PlatformHasSizableDialogs() {
    const OSVERSIONINFOA& version = RunningWindows();
    if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS)
        return version.dwMajorVersion > 4 || (version.dwMajorVersion == 4 && version.dwMinorVersion > 0);
    if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) return version.dwMajorVersion >= 5;
    return false;
}

FARPROC PlatformAddress(PlatformCallId id) {
    const auto row = static_cast<std::size_t>(id);
    if (row >= CALL_COUNT) return nullptr;
    if (!lookedUp[row]) {
        foundCalls[row] = LookUp(PLATFORM_CALLS[row]);
        lookedUp[row] = true;
    }
    return foundCalls[row];
}
