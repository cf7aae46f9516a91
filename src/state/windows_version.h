// What differs by Windows version, in one place: the family the module runs on (the 9x family:
// 95, 98, ME; the NT family: NT 4.0, 2000 and later), asked once, and the one table of calls
// that not every Windows the module is made for has. Those calls are never imported, so that
// the module loads everywhere; each is looked up the first time it is read and kept.
#pragma once

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>
#include <sys/stat.h>
#include <cstddef>
#include <ctime>

// True on the NT family. On the 9x family a file held open can be deleted by its name, and there
// is no delete sharing, no delete through a handle, no MoveFileExA and no working wide dialog.
bool IsNtPlatform();

// True where the load and save dialogs can be resized: Windows 98 and ME (4.x above 4.0) and
// NT 5 (2000) on.
bool PlatformHasSizableDialogs();

// The NT layer's status and I/O record, as its file calls take them.
using NtStatus = LONG;
struct IoStatusBlock {
    union {
        NtStatus status;
        void* pointer;
    };
    ULONG_PTR information;
};

// The rows of the table, in its order (windows_version.cpp).
enum class PlatformCallId : std::size_t {
    MOVE_FILE_EX,
    REPLACE_FILE,
    DISK_FREE_SPACE_EX,
    ZONE_TIME,
    FIND_FIRST_FILE_W,
    CREATE_FILE_W,
    QUERY_INFORMATION_FILE,
    SET_INFORMATION_FILE,
    QUERY_VOLUME_INFORMATION_FILE,
    STATUS_TO_ERROR,
    WIDE_STAT,
    WIDE_LOCAL_TIME,
    GET_OPEN_FILE_NAME_W,
    GET_SAVE_FILE_NAME_W,
    BROWSE_FOR_FOLDER_W,
    PATH_FROM_ID_LIST_W,
    COUNT
};

// A row's place and its call's type.
template <PlatformCallId id, typename Routine>
struct PlatformCallRow {
    static constexpr PlatformCallId ID = id;
    using Type = Routine;
};

using NtFileInformationCall = NtStatus(WINAPI*)(HANDLE, IoStatusBlock*, void*, ULONG, int);

using MoveFileExCall = PlatformCallRow<PlatformCallId::MOVE_FILE_EX, BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD)>;
using ReplaceFileCall =
    PlatformCallRow<PlatformCallId::REPLACE_FILE, BOOL(WINAPI*)(LPCSTR, LPCSTR, LPCSTR, DWORD, LPVOID, LPVOID)>;
using DiskFreeSpaceExCall = PlatformCallRow<PlatformCallId::DISK_FREE_SPACE_EX,
                                            BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER)>;
using ZoneTimeCall = PlatformCallRow<PlatformCallId::ZONE_TIME,
                                     BOOL(WINAPI*)(const TIME_ZONE_INFORMATION*, const SYSTEMTIME*, SYSTEMTIME*)>;
using FindFirstFileWCall =
    PlatformCallRow<PlatformCallId::FIND_FIRST_FILE_W, HANDLE(WINAPI*)(const wchar_t*, WIN32_FIND_DATAW*)>;
using CreateFileWCall = PlatformCallRow<PlatformCallId::CREATE_FILE_W, HANDLE(WINAPI*)(const wchar_t*, DWORD, DWORD,
                                                                                      SECURITY_ATTRIBUTES*, DWORD, DWORD, HANDLE)>;
using QueryInformationFileCall = PlatformCallRow<PlatformCallId::QUERY_INFORMATION_FILE, NtFileInformationCall>;
using SetInformationFileCall = PlatformCallRow<PlatformCallId::SET_INFORMATION_FILE, NtFileInformationCall>;
using QueryVolumeInformationFileCall = PlatformCallRow<PlatformCallId::QUERY_VOLUME_INFORMATION_FILE, NtFileInformationCall>;
using StatusToErrorCall = PlatformCallRow<PlatformCallId::STATUS_TO_ERROR, ULONG(WINAPI*)(NtStatus)>;
using WideStatCall = PlatformCallRow<PlatformCallId::WIDE_STAT, int(__cdecl*)(const char*, struct _stat64*)>;
using WideLocalTimeCall = PlatformCallRow<PlatformCallId::WIDE_LOCAL_TIME, struct tm*(__cdecl*)(const __time64_t*)>;
using GetOpenFileNameWCall = PlatformCallRow<PlatformCallId::GET_OPEN_FILE_NAME_W, BOOL(WINAPI*)(OPENFILENAMEW*)>;
using GetSaveFileNameWCall = PlatformCallRow<PlatformCallId::GET_SAVE_FILE_NAME_W, BOOL(WINAPI*)(OPENFILENAMEW*)>;
using BrowseForFolderWCall = PlatformCallRow<PlatformCallId::BROWSE_FOR_FOLDER_W, PIDLIST_ABSOLUTE(WINAPI*)(BROWSEINFOW*)>;
using PathFromIdListWCall =
    PlatformCallRow<PlatformCallId::PATH_FROM_ID_LIST_W, BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, wchar_t*)>;

// The row's call; null where the running Windows lacks it or its family is not asked for it.
FARPROC PlatformAddress(PlatformCallId id);

template <typename Row>
typename Row::Type Platform() {
    return reinterpret_cast<typename Row::Type>(reinterpret_cast<void*>(PlatformAddress(Row::ID)));
}
