#include "system/played_behaviours.h"

#include <sys/stat.h>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <map>
#include <set>
#include <tuple>

#include "system/guarded_memory.h"
#include "system/module_imports.h"

namespace {

// ---- Windows 95, 98 and ME: their file calls --------------------------------------------------

constexpr char NT_LAYER[] = "ntdll.dll";

bool IsDirectory(const char* name) {
    const DWORD attributes = GetFileAttributesA(name);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// True for ntdll, however spelled: these systems have no NT layer to find.
bool NamesNtLayer(const char* name) {
    if (!name) return false;
    const char* base = name;
    for (const char* at = name; *at; at = CharNextA(at))
        if (*at == '\\' || *at == '/') base = at + 1;
    return lstrcmpiA(base, NT_LAYER) == 0 || lstrcmpiA(base, "ntdll") == 0;
}

template <typename Result>
Result Refuse(DWORD error, Result result) {
    SetLastError(error);
    return result;
}

// No FILE_SHARE_DELETE and no folders; every file the module opens may be deleted meanwhile, as
// these systems delete a file even while it is open.
HANDLE WINAPI CreateFile9x(LPCSTR name, DWORD access, DWORD sharing, LPSECURITY_ATTRIBUTES security,
                           DWORD disposition, DWORD flags, HANDLE pattern) {
    if (sharing & FILE_SHARE_DELETE) return Refuse(ERROR_INVALID_PARAMETER, INVALID_HANDLE_VALUE);
    if (name && IsDirectory(name)) return Refuse(ERROR_ACCESS_DENIED, INVALID_HANDLE_VALUE);
    return CreateFileA(name, access, sharing | FILE_SHARE_DELETE, security, disposition,
                       flags & ~FILE_FLAG_BACKUP_SEMANTICS, pattern);
}

BOOL WINAPI MoveFileEx9x(LPCSTR, LPCSTR, DWORD) {
    return Refuse(ERROR_CALL_NOT_IMPLEMENTED, FALSE);
}

HMODULE WINAPI GetModuleHandle9x(LPCSTR name) {
    return NamesNtLayer(name) ? Refuse(ERROR_MOD_NOT_FOUND, HMODULE{}) : GetModuleHandleA(name);
}

HMODULE WINAPI LoadLibrary9x(LPCSTR name) {
    return NamesNtLayer(name) ? Refuse(ERROR_MOD_NOT_FOUND, HMODULE{}) : LoadLibraryA(name);
}

// ---- Delete access checked at the open --------------------------------------------------------

// True when the folder that holds the named item is read-only, as Wine shows a folder that no
// one may write (the ordinary user's test makes one).
bool InReadOnlyFolder(const char* name) {
    char full[MAX_PATH];
    char* base = nullptr;
    const DWORD length = GetFullPathNameA(name, MAX_PATH, full, &base);
    if (length == 0 || length >= MAX_PATH || !base || base == full) return false;
    base[-1] = '\0';
    const DWORD attributes = GetFileAttributesA(full);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

// Windows grants DELETE at the open only where the user may delete the file (for one thing, in a
// folder the user may write); Wine grants it and refuses the deletion later.
HANDLE WINAPI CreateFileCheckingDeletion(LPCSTR name, DWORD access, DWORD sharing, LPSECURITY_ATTRIBUTES security,
                                         DWORD disposition, DWORD flags, HANDLE pattern) {
    if ((access & DELETE) && name && InReadOnlyFolder(name)) return Refuse(ERROR_ACCESS_DENIED, INVALID_HANDLE_VALUE);
    return CreateFileA(name, access, sharing, security, disposition, flags, pattern);
}

// ---- A local heap that gives small blocks only ------------------------------------------------

// As much as a name's buffer: a heap that gives the module this still gives it its names.
constexpr SIZE_T SMALL_HEAP_LARGEST = MAX_PATH;

HLOCAL WINAPI LocalAllocSmall(UINT flags, SIZE_T bytes) {
    return bytes > SMALL_HEAP_LARGEST ? Refuse(ERROR_NOT_ENOUGH_MEMORY, HLOCAL{}) : LocalAlloc(flags, bytes);
}

// ---- A local heap whose blocks end at a page no one may touch ---------------------------------

// Blocks given while the behaviour is played; a block of the real heap is freed there.
std::set<HLOCAL> guardedBlocks;

HLOCAL WINAPI LocalAllocGuarded(UINT, SIZE_T bytes) {
    void* block = GuardedAlloc(bytes);   // zero-filled, as LPTR asks
    if (!block) return Refuse(ERROR_NOT_ENOUGH_MEMORY, HLOCAL{});
    guardedBlocks.insert(block);
    return block;
}

HLOCAL WINAPI LocalFreeGuarded(HLOCAL block) {
    if (!guardedBlocks.erase(block)) return LocalFree(block);
    GuardedFree(block);
    return nullptr;
}

// ---- The conversion to UTF-8 as documented --------------------------------------------------

// Wine converts to UTF-8 whatever the flags and takes a pointer for "a default character was
// used"; Windows refuses both, also for CP_ACP where the ANSI code page is UTF-8.
int WINAPI WideCharToMultiByteAsDocumented(UINT codePage, DWORD flags, LPCWCH text, int count, LPSTR out, int bytes,
                                           LPCCH defaultCharacter, LPBOOL usedDefault) {
    const bool utf8 = codePage == CP_UTF8 || ((codePage == CP_ACP || codePage == CP_THREAD_ACP) && GetACP() == CP_UTF8);
    if (utf8 && (flags & ~WC_ERR_INVALID_CHARS)) return Refuse(ERROR_INVALID_FLAGS, 0);
    if (utf8 && (defaultCharacter || usedDefault)) return Refuse(ERROR_INVALID_PARAMETER, 0);
    return WideCharToMultiByte(codePage, flags, text, count, out, bytes, defaultCharacter, usedDefault);
}

// ---- Version records read as Windows reads them ----------------------------------------------

// Windows loads the named file as a library (as a data file), which adds ".dll" to a last
// component without a period; Wine reads the named file as it is.
std::string AsLibraryName(LPCSTR name) {
    std::string library = name ? name : "";
    const std::size_t last = library.find_last_of("\\/");
    const std::size_t base = last == std::string::npos ? 0 : last + 1;
    if (library.find('.', base) == std::string::npos) library += ".dll";
    return library;
}

DWORD WINAPI GetFileVersionInfoSizeAsLibrary(LPCSTR name, LPDWORD handle) {
    return GetFileVersionInfoSizeA(AsLibraryName(name).c_str(), handle);
}

BOOL WINAPI GetFileVersionInfoAsLibrary(LPCSTR name, DWORD handle, DWORD size, LPVOID data) {
    return GetFileVersionInfoA(AsLibraryName(name).c_str(), handle, size, data);
}

// ---- A file system that keeps creation times --------------------------------------------------

// A file, known by its volume and index, never by a name.
using FileIdentity = std::tuple<DWORD, DWORD, DWORD>;
std::map<FileIdentity, FILETIME> creationTimes;

constexpr std::int64_t FILETIME_TICKS_PER_SECOND = 10000000;
constexpr std::int64_t FILETIME_SECONDS_TO_1970 = 11644473600;

bool IdentityOfHandle(HANDLE file, FileIdentity& key) {
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(file, &information)) return false;
    key = {information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
    return true;
}

bool IdentityOfName(const char* path, FileIdentity& key) {
    HANDLE file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool known = IdentityOfHandle(file, key);
    CloseHandle(file);
    return known;
}

// The creation time kept for the file, if one is.
bool KeptCreationTime(const FileIdentity& key, FILETIME& created) {
    const auto kept = creationTimes.find(key);
    if (kept == creationTimes.end()) return false;
    created = kept->second;
    return true;
}

bool KeptCreationTime(const char* path, FILETIME& created) {
    FileIdentity key;
    return IdentityOfName(path, key) && KeptCreationTime(key, created);
}

std::int64_t SecondsSince1970(const FILETIME& time) {
    const std::int64_t ticks = (static_cast<std::int64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return ticks / FILETIME_TICKS_PER_SECOND - FILETIME_SECONDS_TO_1970;
}

// The folder part of a search pattern, walked by character: a second byte 0x5C is no separator.
std::string FolderOf(const char* pattern) {
    const char* end = pattern;
    for (const char* at = pattern; *at; at = CharNextA(at))
        if (*at == '\\' || *at == '/' || *at == ':') end = at + 1;
    return std::string(pattern, end);
}

int __cdecl StatKeepingCreation(const char* path, struct _stat* status) {
    const int result = _stat(path, status);
    FILETIME created;
    if (result == 0 && KeptCreationTime(path, created)) status->st_ctime = static_cast<time_t>(SecondsSince1970(created));
    return result;
}

int __cdecl Stat64KeepingCreation(const char* path, struct _stat64* status) {
    const int result = _stat64(path, status);
    FILETIME created;
    if (result == 0 && KeptCreationTime(path, created)) status->st_ctime = SecondsSince1970(created);
    return result;
}

// The NT layer's query of a file's basic information, whose first field is its creation time.
using QueryInformationCall = LONG(WINAPI*)(HANDLE, void*, void*, ULONG, int);
constexpr int FILE_BASIC_INFORMATION = 4;

LONG WINAPI QueryInformationKeepingCreation(HANDLE file, void* io, void* information, ULONG length, int informationClass) {
    static const auto real = reinterpret_cast<QueryInformationCall>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(NT_LAYER), "NtQueryInformationFile")));
    const LONG status = real(file, io, information, length, informationClass);
    FileIdentity key;
    FILETIME created;
    if (status >= 0 && informationClass == FILE_BASIC_INFORMATION && length >= sizeof created && IdentityOfHandle(file, key) &&
        KeptCreationTime(key, created))
        std::memcpy(information, &created, sizeof created);
    return status;
}

// A creation time set through a handle is kept for that file, as such a file system keeps it.
BOOL WINAPI SetFileTimeKeepingCreation(HANDLE file, const FILETIME* created, const FILETIME* accessed, const FILETIME* modified) {
    if (!SetFileTime(file, created, accessed, modified)) return FALSE;
    FileIdentity key;
    if (created && IdentityOfHandle(file, key)) creationTimes[key] = *created;
    return TRUE;
}

HANDLE WINAPI FindFirstFileKeepingCreation(LPCSTR pattern, LPWIN32_FIND_DATAA entry) {
    const HANDLE search = FindFirstFileA(pattern, entry);
    if (search != INVALID_HANDLE_VALUE) KeptCreationTime((FolderOf(pattern) + entry->cFileName).c_str(), entry->ftCreationTime);
    return search;
}

BOOL WINAPI GetFileInformationKeepingCreation(HANDLE file, LPBY_HANDLE_FILE_INFORMATION information) {
    if (!GetFileInformationByHandle(file, information)) return FALSE;
    const FileIdentity key{information->dwVolumeSerialNumber, information->nFileIndexHigh, information->nFileIndexLow};
    KeptCreationTime(key, information->ftCreationTime);
    return TRUE;
}

// ---- Removable drives without a disc ----------------------------------------------------------

// A CD-ROM or removable drive that Wine reads as a volume without a name and without an entry:
// what Wine makes of a drive with no disc in it.
bool HoldsNoDisc(const char* root) {
    const UINT type = GetDriveTypeA(root);
    if (type != DRIVE_CDROM && type != DRIVE_REMOVABLE) return false;
    char name[MAX_PATH] = "";
    if (!GetVolumeInformationA(root, name, MAX_PATH, nullptr, nullptr, nullptr, nullptr, 0) || *name) return false;
    std::string pattern = root;
    if (!pattern.empty() && pattern.back() != '\\') pattern += '\\';
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA((pattern + "*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return true;
    bool empty = true;
    do empty = lstrcmpA(entry.cFileName, ".") == 0 || lstrcmpA(entry.cFileName, "..") == 0;
    while (empty && FindNextFileA(search, &entry));
    FindClose(search);
    return empty;
}

BOOL WINAPI GetVolumeInformationWithoutDisc(LPCSTR root, LPSTR name, DWORD nameSize, LPDWORD serial,
                                            LPDWORD componentLength, LPDWORD flags, LPSTR system, DWORD systemSize) {
    if (root && HoldsNoDisc(root)) return Refuse(ERROR_NOT_READY, FALSE);
    return GetVolumeInformationA(root, name, nameSize, serial, componentLength, flags, system, systemSize);
}

// ---- The table --------------------------------------------------------------------------------

struct PlayedCall {
    const char* function;   // an import of the module, or a function it looks up at run time
    void* replacement;      // null: the system lacks it, and looking it up finds nothing
};

enum class SwitchedBy { WINDOWS_9X, WINDOWS_NT4, UTF8_CODE_PAGE, SCRIPT };

struct PlayedBehaviour {
    const char* name;
    SwitchedBy switchedBy;
    const PlayedCall* calls;
    std::size_t callCount;
    const char* documented;
    bool on;
};

template <typename Function>
void* Code(Function function) {
    return reinterpret_cast<void*>(function);
}

const PlayedCall WINDOWS_9X_CALLS[] = {
    {"CreateFileA", Code(CreateFile9x)},
    {"MoveFileExA", Code(MoveFileEx9x)},
    {"GetModuleHandleA", Code(GetModuleHandle9x)},
    {"LoadLibraryA", Code(LoadLibrary9x)},
    {"ReplaceFileA", nullptr},
};

const PlayedCall WINDOWS_NT4_CALLS[] = {
    {"ReplaceFileA", nullptr},
};

const PlayedCall DELETE_ACCESS_CALLS[] = {
    {"CreateFileA", Code(CreateFileCheckingDeletion)},
};

const PlayedCall SMALL_HEAP_CALLS[] = {
    {"LocalAlloc", Code(LocalAllocSmall)},
};

const PlayedCall GUARDED_HEAP_CALLS[] = {
    {"LocalAlloc", Code(LocalAllocGuarded)},
    {"LocalFree", Code(LocalFreeGuarded)},
};

// A system whose comdlg32 has only the ANSI dialogs, as 95, 98 and ME, under any reported version.
const PlayedCall ANSI_DIALOG_CALLS[] = {
    {"GetOpenFileNameW", nullptr},
    {"GetSaveFileNameW", nullptr},
};

const PlayedCall UTF8_CALLS[] = {
    {"WideCharToMultiByte", Code(WideCharToMultiByteAsDocumented)},
};

const PlayedCall LIBRARY_VERSION_CALLS[] = {
    {"GetFileVersionInfoSizeA", Code(GetFileVersionInfoSizeAsLibrary)},
    {"GetFileVersionInfoA", Code(GetFileVersionInfoAsLibrary)},
};

const PlayedCall CREATION_TIME_CALLS[] = {
    {"_stat", Code(StatKeepingCreation)},
    {"_stat64", Code(Stat64KeepingCreation)},
    {"FindFirstFileA", Code(FindFirstFileKeepingCreation)},
    {"GetFileInformationByHandle", Code(GetFileInformationKeepingCreation)},
    {"SetFileTime", Code(SetFileTimeKeepingCreation)},
    {"NtQueryInformationFile", Code(QueryInformationKeepingCreation)},
};

const PlayedCall EMPTY_DRIVE_CALLS[] = {
    {"GetVolumeInformationA", Code(GetVolumeInformationWithoutDisc)},
};

// A call is replaced by one row at most. Rows in the order of the indexes below.
PlayedBehaviour behaviours[] = {
    {"windows-9x", SwitchedBy::WINDOWS_9X, WINDOWS_9X_CALLS, std::size(WINDOWS_9X_CALLS),
     "Platform SDK (MSDN Library 2001-2003): CreateFile, FILE_SHARE_DELETE and FILE_FLAG_BACKUP_SEMANTICS "
     "\"Windows Me/98/95: This flag is not supported\"; DeleteFile \"Windows Me/98/95: DeleteFile deletes a "
     "file even if it is open\"; MoveFileEx, Requirements: Windows NT only; ReplaceFile, Requirements: Windows "
     "2000; ntdll.dll is the NT layer", false},
    {"windows-nt4", SwitchedBy::WINDOWS_NT4, WINDOWS_NT4_CALLS, std::size(WINDOWS_NT4_CALLS),
     "Platform SDK: ReplaceFile, Requirements: Windows NT/2000/XP: Included in Windows 2000 and later", false},
    {"utf-8", SwitchedBy::UTF8_CODE_PAGE, UTF8_CALLS, std::size(UTF8_CALLS),
     "Platform SDK: WideCharToMultiByte (\"For UTF-8 dwFlags must be set to either 0 or WC_ERR_INVALID_CHARS. "
     "Otherwise, the function fails with ERROR_INVALID_FLAGS\"; lpUsedDefaultChar: \"For the CP_UTF7 and CP_UTF8 "
     "settings for CodePage, this parameter must be set to NULL. Otherwise, the function fails with "
     "ERROR_INVALID_PARAMETER\")", false},
    {"creation-times", SwitchedBy::SCRIPT, CREATION_TIME_CALLS, std::size(CREATION_TIME_CALLS),
     "Platform SDK: File Times (\"NTFS stores time values in UTC\"; a file has a creation, a last access and "
     "a last write time), GetFileTime", false},
    {"empty-drives", SwitchedBy::SCRIPT, EMPTY_DRIVE_CALLS, std::size(EMPTY_DRIVE_CALLS),
     "Platform SDK: GetVolumeInformation and SetErrorMode (SEM_FAILCRITICALERRORS: the system sends the error "
     "to the process); System Error Codes: ERROR_NOT_READY, \"The device is not ready\"", false},
    {"delete-access", SwitchedBy::SCRIPT, DELETE_ACCESS_CALLS, std::size(DELETE_ACCESS_CALLS),
     "Platform SDK: CreateFile (dwDesiredAccess: DELETE, \"If the caller does not have the rights, the function "
     "fails\"); File Security and Access Rights (deleting a file needs DELETE on it or FILE_DELETE_CHILD on its "
     "folder)", false},
    {"small-heap", SwitchedBy::SCRIPT, SMALL_HEAP_CALLS, std::size(SMALL_HEAP_CALLS),
     "Platform SDK: LocalAlloc (\"If the function fails, the return value is NULL\"), Memory Limits", false},
    {"library-versions", SwitchedBy::SCRIPT, LIBRARY_VERSION_CALLS, std::size(LIBRARY_VERSION_CALLS),
     "Platform SDK: GetFileVersionInfo (\"uses the search sequence specified by the LoadLibrary function\"); "
     "LoadLibrary (\"If no file name extension is specified ... the default library extension .dll is appended. "
     "However, the file name string can include a trailing point character (.) to indicate that the module name "
     "has no extension\")", false},
    {"guarded-heap", SwitchedBy::SCRIPT, GUARDED_HEAP_CALLS, std::size(GUARDED_HEAP_CALLS),
     "Platform SDK: LocalAlloc, LocalFree; VirtualAlloc, VirtualProtect (PAGE_NOACCESS: \"An attempt to read from, "
     "write to, or execute the committed region results in an access violation\")", false},
    {"ansi-dialogs", SwitchedBy::SCRIPT, ANSI_DIALOG_CALLS, std::size(ANSI_DIALOG_CALLS),
     "Platform SDK: GetOpenFileName, GetSaveFileName (\"Implemented as Unicode and ANSI versions\"; Windows "
     "95/98/ME run the ANSI ones); GetProcAddress (\"If the function fails, the return value is NULL\")", false},
};

constexpr std::size_t WINDOWS_9X = 0;
constexpr std::size_t WINDOWS_NT4 = 1;
constexpr std::size_t UTF8 = 2;
constexpr std::size_t CREATION_TIMES = 3;

// The row of a played behaviour that replaces the function, or null.
const PlayedCall* PlayedRow(const char* function) {
    for (const PlayedBehaviour& behaviour : behaviours)
        for (std::size_t i = 0; behaviour.on && i < behaviour.callCount; ++i)
            if (lstrcmpA(behaviour.calls[i].function, function) == 0) return &behaviour.calls[i];
    return nullptr;
}

// The replacement a played row gives the function, or null.
void* Replacement(const char* function) {
    const PlayedCall* row = PlayedRow(function);
    return row ? row->replacement : nullptr;
}

// True when a played row says the running system lacks the function.
bool Lacks(const char* function) {
    const PlayedCall* row = PlayedRow(function);
    return row && !row->replacement;
}

void Switch(PlayedBehaviour& behaviour, bool on) {
    behaviour.on = on;
    for (std::size_t i = 0; i < behaviour.callCount; ++i)
        RetargetCalls(behaviour.calls[i].function, on ? behaviour.calls[i].replacement : nullptr);
}

std::string BaseName(HMODULE module) {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(module, path, MAX_PATH);
    const std::string whole = path;
    return whole.substr(whole.find_last_of('\\') + 1);
}

// Every function the module looks up gets a thunk of its own, and a played one its replacement.
// On 95, 98 and ME the NT layer has nothing to give.
FARPROC WINAPI PlayedGetProcAddress(HMODULE module, LPCSTR name) {
    if (behaviours[WINDOWS_9X].on && module && module == GetModuleHandleA(NT_LAYER)) return Refuse(ERROR_PROC_NOT_FOUND, FARPROC{});
    if (!IS_INTRESOURCE(name) && Lacks(name)) return Refuse(ERROR_PROC_NOT_FOUND, FARPROC{});
    const FARPROC real = GetProcAddress(module, name);
    if (!real || IS_INTRESOURCE(name)) return real;
    return reinterpret_cast<FARPROC>(LookedUpEntry(BaseName(module).c_str(), name, Code(real), Replacement(name)));
}

OSVERSIONINFOA ReportedWindows() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) return OSVERSIONINFOA{};
    return version;
}

bool Reports9x() {
    return ReportedWindows().dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

bool ReportsNt4() {
    const OSVERSIONINFOA version = ReportedWindows();
    constexpr DWORD NT4_MAJOR = 4;
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion == NT4_MAJOR;
}

}  // namespace

bool StartPlayedBehaviours(HMODULE module, std::string& error) {
    if (!WrapModuleImports(module, error)) return false;
    RetargetCalls("GetProcAddress", Code(PlayedGetProcAddress));
    if (Reports9x()) Switch(behaviours[WINDOWS_9X], true);
    if (ReportsNt4()) Switch(behaviours[WINDOWS_NT4], true);
    if (GetACP() == CP_UTF8) Switch(behaviours[UTF8], true);
    return true;
}

const char* PlayedVersion() {
    if (behaviours[WINDOWS_9X].on) return "Windows reports 95, 98 or ME: their file calls are played";
    if (behaviours[WINDOWS_NT4].on) return "Windows reports NT 4.0: its file calls are played (no ReplaceFileA)";
    return nullptr;
}

// What switches a behaviour the script may not switch.
const char* SwitchedWhen(SwitchedBy switchedBy) {
    if (switchedBy == SwitchedBy::UTF8_CODE_PAGE) return "when the ANSI code page is UTF-8";
    return "when Windows reports that version (a copy qtxhost-win98.exe or qtxhost-nt40.exe)";
}

// The names the script may switch, as the table lists them.
std::string ScriptNames() {
    std::string names;
    for (const PlayedBehaviour& behaviour : behaviours)
        if (behaviour.switchedBy == SwitchedBy::SCRIPT) names += (names.empty() ? "" : ", ") + std::string(behaviour.name);
    return names;
}

bool SwitchPlayedBehaviour(const std::string& name, bool on, std::string& error) {
    for (PlayedBehaviour& behaviour : behaviours) {
        if (name != behaviour.name) continue;
        if (behaviour.switchedBy != SwitchedBy::SCRIPT) {
            error = name + " is played " + SwitchedWhen(behaviour.switchedBy);
            return false;
        }
        Switch(behaviour, on);
        return true;
    }
    error = "no behaviour is played by the name " + name + " (" + ScriptNames() + ")";
    return false;
}

bool KeepCreationTime(const char* path, const FILETIME& created) {
    FileIdentity key;
    if (!behaviours[CREATION_TIMES].on || !IdentityOfName(path, key)) return false;
    creationTimes[key] = created;
    return true;
}
