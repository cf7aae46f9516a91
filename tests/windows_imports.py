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

# Function: (oldest Windows 9x, oldest Windows NT, where documented).
IMPORTS = {
    "kernel32.dll": {
        "CloseHandle": ("95", "3.1", SDK),
        "CreateFileA": ("95", "3.1", SDK),
        "FindClose": ("95", "3.1", SDK),
        "FindFirstFileA": ("95", "3.1", SDK),
        "GetDriveTypeA": ("95", "3.1", SDK),
        "GetFileInformationByHandle": ("95", "3.1", SDK),
        "GetFileSize": ("95", "3.1", SDK),
        "GetFileType": ("95", "3.1", SDK),
        "GetFullPathNameA": ("95", "3.1", SDK),
        "GetLastError": ("95", "3.1", SDK),
        "GetLogicalDriveStringsA": ("95", "3.1", SDK),
        "GetModuleHandleA": ("95", "3.1", SDK),
        "GetProcAddress": ("95", "3.1", SDK),
        "GetSystemDirectoryA": ("95", "3.1", SDK),
        "GetTempFileNameA": ("95", "3.1", SDK),
        "GetTempPathA": ("95", "3.1", SDK),
        "GetVersionExA": ("95", "3.5", SDK),
        "GetVolumeInformationA": ("95", "3.1", SDK),
        "GetWindowsDirectoryA": ("95", "3.1", SDK),
        "GlobalAlloc": ("95", "3.1", SDK),
        "GlobalFree": ("95", "3.1", SDK),
        "LocalAlloc": ("95", "3.1", SDK),
        "LocalFree": ("95", "3.1", SDK),
        "ReadFile": ("95", "3.1", SDK),
        "SetErrorMode": ("95", "3.1", SDK),
        "SetFilePointer": ("95", "3.1", SDK),
        "SetLastError": ("95", "3.1", SDK),
        "WriteFile": ("95", "3.1", SDK),
    },
    "user32.dll": {
        "AppendMenuA": ("95", "3.1", SDK),
        "CreatePopupMenu": ("95", "3.1", SDK),
        "DestroyMenu": ("95", "3.1", SDK),
        "GetMenuItemCount": ("95", "3.1", SDK),
        "GetMenuItemID": ("95", "3.1", SDK),
        "GetMenuState": ("95", "3.1", SDK),
        "GetMenuStringA": ("95", "3.1", SDK),
        "GetSubMenu": ("95", "3.1", SDK),
        "LoadMenuA": ("95", "3.1", SDK),
        "LoadStringA": ("95", "3.1", SDK),
        "SendMessageA": ("95", "3.1", SDK),
    },
    "comdlg32.dll": {
        "GetOpenFileNameA": ("95", "3.1", SDK),
        "GetSaveFileNameA": ("95", "3.1", SDK),
    },
    "shell32.dll": {
        "SHBrowseForFolderA": ("95", "4.0", SHELL),
        "SHGetMalloc": ("95", "4.0", SHELL),
        "SHGetPathFromIDListA": ("95", "4.0", SHELL),
        "SHGetSpecialFolderLocation": ("95", "4.0", SHELL),
    },
    "ole32.dll": {
        "CoInitialize": ("95", "3.1", SDK),
        "CoUninitialize": ("95", "3.1", SDK),
    },
    "version.dll": {
        "GetFileVersionInfoA": ("95", "3.1", SDK),
        "GetFileVersionInfoSizeA": ("95", "3.1", SDK),
        "VerQueryValueA": ("95", "3.1", SDK),
    },
    "msvcrt.dll": {name: ("95", "4.0", CRT) for name in (
        "_access", "_chdir", "_errno", "_fileno", "_fullpath", "_get_osfhandle", "_getcwd", "_mkdir",
        "_rmdir", "_splitpath", "_stat", "_strupr", "calloc", "ctime", "fclose", "ferror", "fflush",
        "fopen", "fread", "free", "fwrite", "malloc", "memchr", "memcpy", "memset", "remove", "rename",
        "strchr", "strcmp", "strlen", "strncpy", "strrchr", "strstr")},
}

# Looked up with GetProcAddress when called (src/info/file_status.cpp), never imported: the
# msvcrt.dll of Windows 95, 98 and NT 4.0 has neither (both came with Visual C++ .NET's runtime).
LOOKED_UP_AT_RUN_TIME = {"msvcrt.dll": ("_stat64", "_ctime64")}
