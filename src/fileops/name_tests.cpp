// The six conditions: the last action's outcome and what a name on disk is. "Name exists" and
// "File is readable" are the runtime's permission check on the cut name; "Name is a file" and "Name
// is a directory" the mode bits of its status record; "File is writeable" the permission test,
// then an open for reading and writing that shares the file with nobody, both on the name exactly
// as the host passed it, however long.
#include <sys/stat.h>
#include <io.h>

#include "fileops/file_names.h"
#include "fileops/held_files.h"
#include "fileops/name_tests.h"
#include "state/host_services.h"
#include "state/name_characters.h"

namespace {

// The name goes through workPath; one longer than 259 characters answers false, for its cut
// form could name another file.
HostWord AccessTest(RunData* rd, HostWord name, int mode) {
    if (!rd->workPath) return 0;
    if (!CopyWholePath(rd->workPath, TextParameter(name))) return 0;
    return _access(rd->workPath, mode) != ACCESS_FAILED ? 1 : 0;
}

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

constexpr DWORD READ_AND_WRITE = GENERIC_READ | GENERIC_WRITE;

}  // namespace

extern "C" HostWord WINAPI ConditionLastActionOk(RunData* rd, HostWord, HostWord) {
    return rd->lastError == 0 ? 1 : 0;
}

// Directories exist as well as files.
extern "C" HostWord WINAPI ConditionNameExists(RunData* rd, HostWord name, HostWord) {
    return AccessTest(rd, name, ACCESS_EXISTS);
}

extern "C" HostWord WINAPI ConditionFileIsReadable(RunData* rd, HostWord name, HostWord) {
    return AccessTest(rd, name, ACCESS_READ);
}

extern "C" HostWord WINAPI ConditionNameIsFile(RunData* rd, HostWord name, HostWord) {
    return KindTest(rd, name, MODE_FILE, MODE_DIRECTORY);
}

extern "C" HostWord WINAPI ConditionNameIsDirectory(RunData* rd, HostWord name, HostWord) {
    return KindTest(rd, name, MODE_DIRECTORY, MODE_FILE);
}

// Nothing is read or written; the open never creates a file and never opens a directory.
extern "C" HostWord WINAPI ConditionFileIsWriteable(RunData*, HostWord name, HostWord) {
    const char* text = TextParameter(name);
    if (!text || !text[0]) return 0;
    if (_access(text, ACCESS_WRITE) != 0) return 0;
    HANDLE file = CreateFileA(text, READ_AND_WRITE, SHARED_WITH_NOBODY, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    CloseHandle(file);
    return 1;
}
