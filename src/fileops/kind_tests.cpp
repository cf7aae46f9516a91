// "Name is a file" and "Name is a directory": the mode bits of the runtime's status record.
#include <sys/stat.h>

#include "fileops/name_tests.h"
#include "fileops/sticky_error.h"

namespace {

constexpr unsigned short MODE_FILE = _S_IFREG;        // 0x8000
constexpr unsigned short MODE_DIRECTORY = _S_IFDIR;   // 0x4000

// True when the name's mode has the wanted bit and not the other one. A name longer than 259
// characters answers false, as for the access tests.
HostWord KindTest(RunData* rd, HostWord name, unsigned short wanted, unsigned short other) {
    if (!rd->workPath) return 0;
    if (!CopyWholePath(rd->workPath, TextParameter(name))) return 0;
    auto* status = static_cast<struct _stat*>(LocalAlloc(LPTR, sizeof(struct _stat)));
    if (!status) return 0;
    HostWord answer = 0;
    if (_stat(rd->workPath, status) == 0)
        answer = (status->st_mode & wanted) && !(status->st_mode & other) ? 1 : 0;
    LocalFree(status);
    return answer;
}

}  // namespace

extern "C" HostWord WINAPI ConditionNameIsFile(RunData* rd, HostWord name, HostWord) {
    return KindTest(rd, name, MODE_FILE, MODE_DIRECTORY);
}

extern "C" HostWord WINAPI ConditionNameIsDirectory(RunData* rd, HostWord name, HostWord) {
    return KindTest(rd, name, MODE_DIRECTORY, MODE_FILE);
}
