"""Every function the 32-bit module may import, by DLL, with the oldest Windows of each family that
has it and where that is documented. pe_file_check.py fails on an import missing here and on one
whose oldest Windows is newer than Windows 95 or NT 4.0, the oldest the module is made for: add a
function here, with its source, before the module calls it.
"""
import pathlib
import re

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
        _access _chdir _errno _fullpath _getcwd _mkdir _rmdir _splitpath _stat _stricmp _strnicmp
        calloc free localtime malloc memchr memcmp memcpy memset remove strchr strcmp strlen strncmp
        strpbrk strstr"""),
}

# Looked up with GetProcAddress when called, never imported: the rows of the module's one table of
# calls that differ by Windows version, read from its source, which says why each is looked up.
PLATFORM_TABLE = pathlib.Path(__file__).resolve().parent.parent / "src" / "state" / "windows_version.cpp"
LIBRARY_NAME = re.compile(r'constexpr char (\w+_LIBRARY)\[\] = "([^"]+)";')
TABLE_ROW = re.compile(r'\{PlatformCallId::\w+, (\w+_LIBRARY), "(\w+)", AskedOn::\w+\}')


def looked_up_at_run_time(source=PLATFORM_TABLE):
    """DLL: the names the table looks up in it."""
    text = source.read_text()
    libraries = dict(LIBRARY_NAME.findall(text))
    rows = {}
    for library, name in TABLE_ROW.findall(text):
        rows.setdefault(libraries[library], []).append(name)
    return {dll: tuple(names) for dll, names in rows.items()}


LOOKED_UP_AT_RUN_TIME = looked_up_at_run_time()
# The table's rows as its enumeration counts them, before COUNT.
PLATFORM_CALL_COUNT = len(re.findall(r"^    [A-Z0-9_]+,$", re.search(
    r"enum class PlatformCallId[^{]*\{(.*?)\bCOUNT\b", PLATFORM_TABLE.with_suffix(".h").read_text(), re.S)[1], re.M))
