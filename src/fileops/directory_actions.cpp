// Changing, restoring, creating and deleting directories.
#include <direct.h>

#include "fileops/deletions.h"
#include "fileops/directory_actions.h"
#include "fileops/file_names.h"
#include "state/last_error.h"

namespace {

using DirectoryCall = int (*)(const char*);

// Copies the whole name into workPath and hands it to the runtime call; a nonzero result
// stores errno.
void DirectoryAction(RunData* rd, HostWord directory, DirectoryCall call) {
    if (!ActionMayRun(rd)) return;
    if (!TakeWholeName(rd, rd->workPath, directory)) return;
    if (call(rd->workPath) != 0) StoreErrno(rd);
}

}  // namespace

// The current directory is the whole process's: every later relative name resolves against it.
extern "C" HostWord WINAPI ActionChangeDirectory(RunData* rd, HostWord directory, HostWord) {
    DirectoryAction(rd, directory, _chdir);
    return 0;
}

// Back to the directory that was current when the object was created.
extern "C" HostWord WINAPI ActionSetOriginalDirectory(RunData* rd, HostWord, HostWord) {
    return ActionChangeDirectory(rd, reinterpret_cast<HostWord>(rd->initialDirectory), 0);
}

// One directory; missing parents are not made.
extern "C" HostWord WINAPI ActionCreateDirectory(RunData* rd, HostWord directory, HostWord) {
    DirectoryAction(rd, directory, _mkdir);
    return 0;
}

// Only an empty directory goes; its contents are not removed first. A directory still there
// after the runtime removed it stores 13.
extern "C" HostWord WINAPI ActionDeleteDirectory(RunData* rd, HostWord directory, HostWord) {
    DeleteAction(rd, directory, _rmdir);
    return 0;
}
