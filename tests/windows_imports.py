"""Every function the 32-bit module may import, by DLL, with the oldest Windows of each family that
has it and where that is documented. pe_file_check.py fails on an import missing here and on one
whose oldest Windows is newer than Windows 95 or NT 4.0, the oldest the module is made for: add a
function here, with its source, before the module calls it.
"""

# The oldest systems the module is made for: an import must exist on both.
TARGET_9X = "95"
TARGET_NT = ("3.1", "3.5", "3.51", "4.0")

# Where the versions are documented.
SDK = "Platform SDK reference (MSDN Library, 1999-2003), the function's Requirements section"
SHELL = "Platform SDK Shell reference (MSDN Library), Requirements: shell32.dll 4.0, Windows 95 and NT 4.0"
CRT = ("Visual C++ 6.0 Run-Time Library Reference, the routine's Compatibility (Win 95, Win NT); "
       "msvcrt.dll ships with NT 4.0, Windows 95 needs it installed (README)")


def functions(windows_9x, windows_nt, source, names):
    """Function: (oldest Windows 9x, oldest Windows NT, where documented), for names sharing them."""
    return {name: (windows_9x, windows_nt, source) for name in names.split()}


IMPORTS = {
    "kernel32.dll": functions("95", "3.1", SDK, """
        CloseHandle CompareStringA CreateFileA DeleteFileA FileTimeToLocalFileTime GetACP
        FileTimeToSystemTime FindClose FindFirstFileA FindNextFileA FlushFileBuffers GetCurrentProcessId
        GetDiskFreeSpaceA GetDriveTypeA GetFileAttributesA GetFileInformationByHandle GetFileSize
        GetFileType GetFullPathNameA GetLastError GetLogicalDriveStringsA GetModuleHandleA
        GetProcAddress GetSystemDirectoryA GetTempFileNameA GetTempPathA GetTickCount
        GetVolumeInformationA GetWindowsDirectoryA GlobalAlloc GlobalFree IsDBCSLeadByte LocalAlloc
        LocalFree MoveFileA MultiByteToWideChar ReadFile SetEndOfFile SetErrorMode SetFilePointer
        SetFileTime SetLastError WideCharToMultiByte WriteFile lstrcmpiA""") | functions("95", "3.5", SDK, "GetVersionExA"),
    "user32.dll": functions("95", "3.1", SDK, """
        AppendMenuA CharNextA CharPrevA CharUpperA CharUpperBuffA CreatePopupMenu DestroyMenu GetMenuItemCount
        GetMenuItemID GetMenuState GetMenuStringA GetSubMenu LoadMenuA LoadStringA SendMessageA"""),
    "comdlg32.dll": functions("95", "3.1", SDK, "GetOpenFileNameA GetSaveFileNameA"),
    "shell32.dll": functions("95", "4.0", SHELL, """
        SHBrowseForFolderA SHGetMalloc SHGetPathFromIDListA SHGetSpecialFolderLocation"""),
    "ole32.dll": functions("95", "3.1", SDK, "CoInitialize CoUninitialize"),
    "version.dll": functions("95", "3.1", SDK, "GetFileVersionInfoA GetFileVersionInfoSizeA VerQueryValueA"),
    "msvcrt.dll": functions("95", "4.0", CRT, """
        _access _chdir _errno _fileno _fsopen _fullpath _get_osfhandle _getcwd _mkdir _rmdir
        _splitpath _stat _stricmp _strnicmp _strupr calloc ctime fclose ferror fflush fopen fread
        free fwrite malloc memchr memcmp memcpy memset remove rename strchr strcmp strlen strncmp strncpy
        strpbrk strrchr strstr"""),
}

# Looked up with GetProcAddress when called, never imported: the msvcrt.dll of Windows 95, 98 and
# NT 4.0 has neither of its two (both came with Visual C++ .NET's runtime; src/info/file_status.cpp);
# the wide dialogs and file calls work on the NT family only (src/selector/wide_routines.cpp), as
# does the local time of a date by its own rules (src/info/file_status.cpp); Windows 95, 98 and ME
# have no ntdll.dll to import from (src/state/nt_file_calls.cpp) and do not implement
# MoveFileExA, which only the NT family is asked (src/fileops/beside_files.cpp); ReplaceFileA came
# with Windows 2000, and GetDiskFreeSpaceExA with Windows 95 OSR2 and NT 4.0 (beside_files.cpp).
LOOKED_UP_AT_RUN_TIME = {
    "msvcrt.dll": ("_stat64", "_ctime64"),
    "comdlg32.dll": ("GetOpenFileNameW", "GetSaveFileNameW"),
    "shell32.dll": ("SHBrowseForFolderW", "SHGetPathFromIDListW"),
    "kernel32.dll": ("FindFirstFileW", "CreateFileW", "SystemTimeToTzSpecificLocalTime", "MoveFileExA",
                     "ReplaceFileA", "GetDiskFreeSpaceExA"),
    "ntdll.dll": ("NtSetInformationFile", "NtQueryInformationFile", "NtQueryVolumeInformationFile",
                  "RtlNtStatusToDosError"),
}
