// The eight well-known directories. The shell answers where it can; where it cannot, the
// directory is composed in the result buffer from the Windows directory or from the user's
// application data directory, by platform family. Compositions are cut to 259 characters.
// Separators are found character by character (LastSeparator), so that a second byte 0x5C in a
// double-byte code page is never taken for one.
#include <shlobj.h>
#include <cstring>

#include "info/known_directories.h"
#include "info/shell_folder_path.h"
#include "state/host_services.h"
#include "state/name_characters.h"

namespace {

constexpr std::size_t LAST_CHARACTER = PATH_BUFFER_SIZE - 1;   // the most characters a result holds
constexpr char NO_PARENT_ANSWER[] = "c:\\";

// A directory shared by all users: its shell folder and the literals of its fallbacks.
struct SharedDirectory {
    int folder;
    const char* sibling;          // put in place of the user's profile, beside the other profiles
    const char* ntFallback;       // after the Windows directory on the NT family
    const char* otherFallback;    // after the Windows directory on the other family
};

constexpr SharedDirectory ALL_USERS = {CSIDL_COMMON_DOCUMENTS, "\\All Users", "Profiles\\All Users", "All Users"};
constexpr SharedDirectory ALL_USERS_DOCUMENTS = {CSIDL_COMMON_DOCUMENTS, "\\All Users\\Documents",
                                                 "Profiles\\All Users\\Documents", "All Users\\Documents"};
constexpr SharedDirectory ALL_USERS_APPDATA = {CSIDL_COMMON_APPDATA, "\\All Users\\Application Data",
                                               "Profiles\\All Users\\Application Data",
                                               "All Users\\Application Data"};
constexpr char APPDATA_FALLBACK[] = "Application Data";

// Copies text over the buffer from position at on, cut so that the string ends by the last byte.
void PutAt(char* buffer, std::size_t at, const char* text) {
    const std::size_t room = LAST_CHARACTER - at;
    const std::size_t length = strnlen(text, room);
    std::memcpy(buffer + at, text, length);
    buffer[at + length] = '\0';
}

void WindowsDirectory(char* buffer) {
    buffer[0] = '\0';
    GetWindowsDirectoryA(buffer, PATH_BUFFER_SIZE);
    buffer[LAST_CHARACTER] = '\0';
}

void WindowsDirectoryPlus(char* buffer, const char* literal) {
    WindowsDirectory(buffer);
    AddTrailingBackslash(buffer);
    PutAt(buffer, std::strlen(buffer), literal);
}

// The user's profile as the parent of the application data directory, whatever that lookup
// gave; "c:\" when the buffer holds no '\' at all.
void ProfileParent(char* buffer) {
    GetShellFolderPath(buffer, CSIDL_APPDATA);
    char* last = LastSeparator(buffer);
    if (!last) {
        PutAt(buffer, 0, NO_PARENT_ANSWER);
        return;
    }
    *last = '\0';
}

// The parent of the shared documents: a drive root keeps its '\'; no '\' at all gives "c:\".
void SharedParent(char* buffer) {
    char* last = LastSeparator(buffer);
    if (!last) {
        PutAt(buffer, 0, NO_PARENT_ANSWER);
        return;
    }
    const bool driveRoot = last != buffer && last[-1] == ':';   // ':' is never a second byte
    last[driveRoot ? 1 : 0] = '\0';
}

// The user's application data directory with its last two components replaced by the literal,
// which begins with '\'. False when the lookup fails or a '\' is missing.
bool SharedSibling(char* buffer, const char* literal) {
    if (!GetShellFolderPath(buffer, CSIDL_APPDATA)) return false;
    char* last = LastSeparator(buffer);
    if (!last) return false;
    *last = '\0';
    char* profile = LastSeparator(buffer);
    if (!profile) return false;
    PutAt(buffer, static_cast<std::size_t>(profile - buffer), literal);
    return true;
}

// What a shared directory falls back to when the shell has no answer for it.
void SharedFallback(char* buffer, const SharedDirectory& shared) {
    if (!IsNtPlatform()) {
        WindowsDirectoryPlus(buffer, shared.otherFallback);
        return;
    }
    if (SharedSibling(buffer, shared.sibling)) return;
    WindowsDirectoryPlus(buffer, shared.ntFallback);
}

void SharedDirectoryPath(char* buffer, const SharedDirectory& shared) {
    if (!GetShellFolderPath(buffer, shared.folder)) SharedFallback(buffer, shared);
}

void SystemDirectory(char* buffer) {
    GetSystemDirectoryA(buffer, PATH_BUFFER_SIZE);
    buffer[LAST_CHARACTER] = '\0';
}

void AppDataDirectory(char* buffer) {
    if (GetShellFolderPath(buffer, CSIDL_APPDATA)) return;
    if (!IsNtPlatform()) WindowsDirectoryPlus(buffer, APPDATA_FALLBACK);   // NT: as the lookup left it
}

void UserDirectory(char* buffer) {
    if (GetShellFolderPath(buffer, CSIDL_PROFILE)) return;
    if (IsNtPlatform())
        ProfileParent(buffer);
    else
        WindowsDirectory(buffer);
}

void AllUsersDirectory(char* buffer) {
    if (GetShellFolderPath(buffer, ALL_USERS.folder))
        SharedParent(buffer);
    else
        SharedFallback(buffer, ALL_USERS);
}

// Every directory is worked out in the host's emptied result buffer.
HostWord DirectoryResult(RunData* rd, void (*directory)(char* buffer)) {
    return FillStringResult(rd, PATH_BUFFER_SIZE, directory);
}

}  // namespace

void AddTrailingBackslash(char* path) {
    const std::size_t length = strnlen(path, LAST_CHARACTER);
    if (length == 0 || length == LAST_CHARACTER) return;   // nothing to end, or no room left
    if (EndsInSeparator(path)) return;
    PutAt(path, length, "\\");
}

extern "C" HostWord WINAPI ExpressionWindowsDirectory(RunData* rd, HostWord) {
    return DirectoryResult(rd, WindowsDirectory);
}

extern "C" HostWord WINAPI ExpressionSystemDirectory(RunData* rd, HostWord) {
    return DirectoryResult(rd, SystemDirectory);
}

extern "C" HostWord WINAPI ExpressionMyDocsDirectory(RunData* rd, HostWord) {
    return DirectoryResult(rd, [](char* buffer) { GetShellFolderPath(buffer, CSIDL_PERSONAL); });
}

extern "C" HostWord WINAPI ExpressionAppDataDirectory(RunData* rd, HostWord) {
    return DirectoryResult(rd, AppDataDirectory);
}

extern "C" HostWord WINAPI ExpressionUserDirectory(RunData* rd, HostWord) {
    return DirectoryResult(rd, UserDirectory);
}

extern "C" HostWord WINAPI ExpressionAllUsersDirectory(RunData* rd, HostWord) {
    return DirectoryResult(rd, AllUsersDirectory);
}

extern "C" HostWord WINAPI ExpressionAllUsersDocumentsDirectory(RunData* rd, HostWord) {
    return DirectoryResult(rd, [](char* buffer) { SharedDirectoryPath(buffer, ALL_USERS_DOCUMENTS); });
}

extern "C" HostWord WINAPI ExpressionAllUsersAppDataDirectory(RunData* rd, HostWord) {
    return DirectoryResult(rd, [](char* buffer) { SharedDirectoryPath(buffer, ALL_USERS_APPDATA); });
}
