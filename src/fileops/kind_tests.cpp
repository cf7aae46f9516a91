// "Name is a file" and "Name is a directory": the mode bits of the runtime's status record.
#include <sys/stat.h>

#include "fileops/name_tests.h"
#include "state/host_services.h"
#include "state/name_characters.h"

namespace {

constexpr unsigned short MODE_FILE = _S_IFREG;        // 0x8000
constexpr unsigned short MODE_DIRECTORY = _S_IFDIR;   // 0x4000

// The mode the runtime would give a name it finds, from the platform's attributes: a directory,
// else a file. False when there is no such name.
bool ReadAttributeMode(const char* name, unsigned short& mode) {
    const DWORD attributes = GetFileAttributesA(name);
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    mode = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? MODE_DIRECTORY : MODE_FILE;
    return true;
}

// The name's mode bits from the runtime's status record, in a zero-filled block of the local
// heap. A name whose last byte the runtime takes for a trailing backslash (表 in code page 932)
// is asked of the platform instead. False when there is no such name or no block.
bool ReadMode(const char* name, unsigned short& mode) {
    if (EndsInSecondByteBackslash(name)) return ReadAttributeMode(name, mode);
    auto* status = static_cast<struct _stat*>(LocalAlloc(LPTR, sizeof(struct _stat)));
    if (!status) return false;
    const bool found = _stat(name, status) == 0;
    if (found) mode = status->st_mode;
    LocalFree(status);
    return found;
}

// True when the name's mode has the wanted bit and not the other one. A name longer than 259
// characters answers false, as for the access tests.
HostWord KindTest(RunData* rd, HostWord name, unsigned short wanted, unsigned short other) {
    if (!rd->workPath) return 0;
    if (!CopyWholePath(rd->workPath, TextParameter(name))) return 0;
    unsigned short mode = 0;
    if (!ReadMode(rd->workPath, mode)) return 0;
    return (mode & wanted) && !(mode & other) ? 1 : 0;
}

}  // namespace

extern "C" HostWord WINAPI ConditionNameIsFile(RunData* rd, HostWord name, HostWord) {
    return KindTest(rd, name, MODE_FILE, MODE_DIRECTORY);
}

extern "C" HostWord WINAPI ConditionNameIsDirectory(RunData* rd, HostWord name, HostWord) {
    return KindTest(rd, name, MODE_DIRECTORY, MODE_FILE);
}
