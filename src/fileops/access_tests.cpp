// "Last action OK", and the tests answered by the runtime's permission check on the cut name.
#include <io.h>

#include "fileops/name_tests.h"
#include "fileops/sticky_error.h"

namespace {

constexpr int ACCESS_EXISTS = 0;
constexpr int ACCESS_READ = 4;
constexpr int ACCESS_FAILED = -1;

// The name goes through workPath, so only its first 259 characters are tested.
HostWord AccessTest(RunData* rd, HostWord name, int mode) {
    if (!rd->workPath) return 0;
    CopyPath(rd->workPath, TextParameter(name));
    return _access(rd->workPath, mode) != ACCESS_FAILED ? 1 : 0;
}

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
