// Names walked by character: a cut ends between two characters, and a second byte 0x5C is no
// separator. The device space is told by the path the platform makes of a name: a device has
// many names (COM1, nul.txt, c:\dir\prn).
#include <windows.h>
#include <cstring>

#include "state/name_characters.h"
#include "state/path_names.h"

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

}  // namespace

void CopyPath(char* destination, const char* source) {
    if (!destination) return;
    CopyCharacters(destination, source, PATH_BUFFER_SIZE - 1);
}

bool CopyWholePath(char* destination, const char* source) {
    CopyPath(destination, source);
    return FitsPath(source);
}

bool FitsPath(const char* source) {
    return !source || strnlen(source, PATH_BUFFER_SIZE) < PATH_BUFFER_SIZE;
}

bool FullPathOf(const char* name, char* full) {
    const DWORD length = GetFullPathNameA(name, PATH_BUFFER_SIZE, full, nullptr);
    return length != 0 && length < PATH_BUFFER_SIZE;
}

NameTarget TargetOfPath(const char* fullPath) {
    if (StartsWith(fullPath, DEVICE_SPACE) || StartsWith(fullPath, VERBATIM_SPACE))
        return TargetInDeviceSpace(fullPath + SPACE_LENGTH);
    return NameTarget::DISK_FILE;
}

NameTarget TargetOfName(const char* name) {
    char full[PATH_BUFFER_SIZE];
    return TargetOfPath(FullPathOf(name, full) ? full : name);   // a longer one as given
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
