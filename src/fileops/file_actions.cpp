// Creating, deleting and renaming files (renaming serves directories too).
#include <io.h>
#include <cstdio>

#include "fileops/file_actions.h"
#include "fileops/removal.h"
#include "fileops/same_file.h"
#include "fileops/whole_name.h"
#include "state/last_error.h"

namespace {

constexpr int ACCESS_EXISTS = 0;
constexpr int ACCESS_FAILED = -1;

bool Exists(const char* name) {
    return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES;
}

int RemoveFile(const char* name) {
    return std::remove(name);
}

// A rename between drives is a copy and a deletion. When the runtime's rename fails, what it
// left at a name that was free before goes; when it succeeds but the old name is still there
// (the deletion was refused), the copy goes and 13 is stored. Either way the new name is
// deleted only when it is not the old file (a rename can change just a letter's case).
void RenameName(RunData* rd, const char* oldPath, const char* newPath) {
    const bool newWasFree = !Exists(newPath);
    if (std::rename(oldPath, newPath) != 0) {
        StoreErrno(rd);
        if (newWasFree && Exists(newPath)) DeleteUnlessSame(newPath, oldPath);
        return;
    }
    if (StillThere(oldPath) && DeleteUnlessSame(newPath, oldPath)) rd->lastError = ERROR_CODE_NOT_REMOVED;
}

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

// A file still there after the runtime deleted it stores 13.
extern "C" HostWord WINAPI ActionDeleteFile(RunData* rd, HostWord file, HostWord) {
    DeleteAction(rd, file, RemoveFile);
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
        RenameName(rd, rd->workPath, newPath);
    }
    LocalFree(newPath);
    return 0;
}
