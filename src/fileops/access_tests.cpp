// "Last action OK", and the tests answered by the runtime's permission check on the cut name.
#include <io.h>

#include "fileops/name_tests.h"
#include "state/host_services.h"

namespace {

constexpr int ACCESS_EXISTS = 0;
constexpr int ACCESS_READ = 4;
constexpr int ACCESS_FAILED = -1;

// The name goes through workPath; one longer than 259 characters answers false, for its cut
// form could name another file.
HostWord AccessTest(RunData* rd, HostWord name, int mode) {
    if (!rd->workPath) return 0;
    if (!CopyWholePath(rd->workPath, TextParameter(name))) return 0;
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
