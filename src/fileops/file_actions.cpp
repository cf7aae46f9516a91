// Creating, deleting and renaming files (renaming serves directories too).
#include <io.h>
#include <cstdio>

#include "fileops/file_actions.h"
#include "fileops/sticky_error.h"
#include "fileops/whole_name.h"

namespace {

constexpr int ACCESS_EXISTS = 0;
constexpr int ACCESS_FAILED = -1;
constexpr int REMOVE_FAILED = -1;

}  // namespace

// An empty new file; a name already taken, by a file or a directory, is left alone.
extern "C" HostWord WINAPI ActionCreateFile(RunData* rd, HostWord file, HostWord) {
    if (!ActionMayRun(rd)) return 0;
    if (!TakeWholeName(rd, rd->workPath, file)) return 0;
    if (_access(rd->workPath, ACCESS_EXISTS) != ACCESS_FAILED) {
        rd->lastError = ERROR_CODE_EXISTS;
        return 0;
    }
    FILE* stream = std::fopen(rd->workPath, "w+b");
    if (!stream) {
        StoreErrno(rd);
        return 0;
    }
    std::fclose(stream);
    return 0;
}

extern "C" HostWord WINAPI ActionDeleteFile(RunData* rd, HostWord file, HostWord) {
    if (!ActionMayRun(rd)) return 0;
    if (!TakeWholeName(rd, rd->workPath, file)) return 0;
    if (std::remove(rd->workPath) == REMOVE_FAILED) StoreErrno(rd);
    return 0;
}

// The new name needs a buffer of its own beside workPath. An existing file or directory of
// the new name is never replaced: the runtime's rename refuses, and its errno is stored.
extern "C" HostWord WINAPI ActionRenameFile(RunData* rd, HostWord oldName, HostWord newName) {
    if (!ActionMayRun(rd)) return 0;
    auto* newPath = static_cast<char*>(LocalAlloc(LPTR, PATH_BUFFER_SIZE));
    if (!newPath) {
        rd->lastError = ERROR_CODE_NO_MEMORY;
        return 0;
    }
    if (TakeWholeName(rd, rd->workPath, oldName) && TakeWholeName(rd, newPath, newName)) {
        if (std::rename(rd->workPath, newPath) != 0) StoreErrno(rd);
    }
    LocalFree(newPath);
    return 0;
}
