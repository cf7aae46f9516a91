// Creating, deleting and renaming files (renaming serves directories too).
#include <io.h>
#include <cstdio>

#include "fileops/file_actions.h"
#include "fileops/removal.h"
#include "fileops/rename_name.h"
#include "fileops/whole_name.h"
#include "state/last_error.h"

namespace {

constexpr int ACCESS_EXISTS = 0;
constexpr int ACCESS_FAILED = -1;
constexpr DWORD SHARED_WITH_NOBODY = 0;

int RemoveFile(const char* name) {
    return std::remove(name);
}

// True when the platform's error says a name was already taken.
bool IsTaken(DWORD error) {
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

}  // namespace

// An empty new file; a name already taken, by a file or a directory, is left alone. The file is
// made only if nothing has that name at the moment it is made, so a file another program puts
// there after the test is never emptied.
extern "C" HostWord WINAPI ActionCreateFile(RunData* rd, HostWord file, HostWord) {
    if (!ActionMayRun(rd)) return 0;
    if (!TakeWholeName(rd, rd->workPath, file)) return 0;
    if (_access(rd->workPath, ACCESS_EXISTS) != ACCESS_FAILED) {
        rd->lastError = ERROR_CODE_EXISTS;
        return 0;
    }
    HANDLE made = CreateFileA(rd->workPath, GENERIC_READ | GENERIC_WRITE, SHARED_WITH_NOBODY, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (made == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (IsTaken(error))
            rd->lastError = ERROR_CODE_EXISTS;
        else
            StoreWindowsError(rd, error);
        return 0;
    }
    CloseHandle(made);
    return 0;
}

// A file still there after the runtime deleted it stores 13.
extern "C" HostWord WINAPI ActionDeleteFile(RunData* rd, HostWord file, HostWord) {
    DeleteAction(rd, file, RemoveFile);
    return 0;
}

// The new name needs a buffer of its own beside workPath. An existing file or directory of the
// new name is never replaced.
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
