// Names before they are opened: the refusal of names that CopyPath would cut, shared by every
// directory and file action, and the device space, told by the path the platform makes of a name
// (a device has many names) or, for callers that open nothing, by a handle that reads nothing (a
// unix device or FIFO can sit in a drive under an ordinary name).
#include <windows.h>
#include <io.h>
#include <cstring>

#include "fileops/file_names.h"
#include "state/file_facts.h"
#include "state/file_handles.h"
#include "state/host_services.h"
#include "state/last_error.h"
#include "state/name_characters.h"

namespace {

// Both spellings of the device space: \\.\ and \\?\ (the second also leads to C:\ and UNC\).
constexpr char DEVICE_SPACE[] = "\\\\.\\";
constexpr char VERBATIM_SPACE[] = "\\\\?\\";
constexpr std::size_t SPACE_LENGTH = sizeof DEVICE_SPACE - 1;
constexpr char NETWORK_ROOT[] = "UNC\\";
constexpr char NULL_DEVICE_NAME[] = "NUL";

bool IsDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool StartsWith(const char* text, const char* prefix) {
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

// What follows \\.\ or \\?\: a drive's path (C:\...) or a network path (UNC\...) leads to a
// file on disk; anything else (COM1, NUL, pipe\x, C: alone, the volume itself) to a device.
NameTarget TargetInDeviceSpace(const char* rest) {
    const bool drivePath = IsDriveLetter(rest[0]) && rest[1] == ':' && rest[2] == PATH_SEPARATOR && rest[3] != '\0';
    if (drivePath || _strnicmp(rest, NETWORK_ROOT, sizeof NETWORK_ROOT - 1) == 0) return NameTarget::DISK_FILE;
    return _stricmp(rest, NULL_DEVICE_NAME) == 0 ? NameTarget::NULL_DEVICE : NameTarget::OTHER_DEVICE;
}

// An existing name whose handle is no file on disk is a device; a name that cannot be opened
// (missing, a folder, locked) is left to the open that follows, which reports it.
NameTarget TargetOfHandle(const char* name) {
    // Shared with everyone, so that it disturbs no other holder.
    HANDLE file = CreateFileA(name, QUERY_ONLY, SharedWithEveryone(), nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return NameTarget::DISK_FILE;
    const bool disk = IsRegularFile(file);
    CloseHandle(file);
    return disk ? NameTarget::DISK_FILE : NameTarget::OTHER_DEVICE;
}

}  // namespace

bool TakeWholeName(RunData* rd, char* destination, HostWord name) {
    CopyPath(destination, TextParameter(name));
    return NameIsWhole(rd, name);
}

bool NameExists(const char* name) {
    return _access(name, ACCESS_EXISTS) != ACCESS_FAILED;
}

bool NameIsWhole(RunData* rd, HostWord name) {
    if (FitsPath(TextParameter(name))) return true;
    rd->lastError = ERROR_CODE_NAME_TOO_LONG;
    return false;
}

bool FullPathOf(const char* name, char* full) {
    const DWORD length = GetFullPathNameA(name, PATH_BUFFER_SIZE, full, nullptr);
    return length != 0 && length < PATH_BUFFER_SIZE;
}

NameTarget TargetOfName(const char* name) {
    char full[PATH_BUFFER_SIZE];
    const char* path = FullPathOf(name, full) ? full : name;   // a longer one as given
    if (StartsWith(path, DEVICE_SPACE) || StartsWith(path, VERBATIM_SPACE)) return TargetInDeviceSpace(path + SPACE_LENGTH);
    return NameTarget::DISK_FILE;
}

NameTarget TargetOf(const char* name) {
    const NameTarget target = TargetOfName(name);
    return target == NameTarget::DISK_FILE ? TargetOfHandle(name) : target;
}

// Walked by character: a second byte 0x5C in a server's name is no separator.
std::size_t RootLength(const char* path) {
    constexpr int UNC_SEPARATORS = 2;   // after the server's name, after the share's
    if (path[0] != '\0' && path[1] == ':') return path[2] == PATH_SEPARATOR ? 3 : 2;
    if (path[0] != PATH_SEPARATOR || path[1] != PATH_SEPARATOR) return 0;
    int separators = 0;
    const char* at = path + 2;
    for (; *at != '\0'; at = CharNextA(at))
        if (*at == PATH_SEPARATOR && ++separators == UNC_SEPARATORS) return static_cast<std::size_t>(at - path) + 1;
    return static_cast<std::size_t>(at - path);
}

std::size_t FolderLength(const char* name) {
    constexpr char DRIVE_MARK = ':';
    constexpr char OTHER_SEPARATOR = '/';
    std::size_t length = name[0] != '\0' && name[1] == DRIVE_MARK ? 2 : 0;
    for (const char* at = name; *at != '\0'; at = CharNextA(at))
        if (*at == PATH_SEPARATOR || *at == OTHER_SEPARATOR) length = static_cast<std::size_t>(at - name) + 1;
    return length;
}
