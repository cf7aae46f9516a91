// Creating, deleting and renaming files (renaming serves directories too). A rename never lets
// the platform copy: within a volume it is one step, between volumes a copy through held files
// that removes only what this call made.
#include <cstdio>

#include "fileops/file_actions.h"
#include "fileops/file_names.h"
#include "fileops/held_files.h"
#include "state/last_error.h"
#include "state/name_characters.h"
#include "state/windows_errors.h"
#include "state/windows_version.h"

namespace {

int RemoveFile(const char* name) {
    return std::remove(name);
}

// True when the platform's error says a name was already taken.
bool IsTaken(DWORD error) {
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

// MoveFileExA with no flag renames in one step and never copies nor replaces. The NT family has
// it; it is looked up when called, as Windows 95, 98 and ME do not implement it.
using MoveFileExCall = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);
constexpr char MOVE_FILE_EX[] = "MoveFileExA";
constexpr DWORD NEITHER_COPY_NOR_REPLACE = 0;

// What a new file keeps of the old one's attributes when it is made: read-only comes too late
// (a read-only old file cannot be deleted, so its rename fails and its copy must go).
constexpr DWORD KEPT_ATTRIBUTES = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// The length of a full path's root, "C:\" or "\\server\share\", walked by character (a second
// byte 0x5C in a server's name is no separator); 0 when it has none.
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

// Where a drive letter or a share is a volume (Windows 95, 98 and ME), two names lie on one volume
// when their full paths share a root, letter case aside. False when either cannot be made full.
bool OnOneVolume(const char* oldPath, const char* newPath) {
    char oldFull[PATH_BUFFER_SIZE], newFull[PATH_BUFFER_SIZE];
    const DWORD oldLength = GetFullPathNameA(oldPath, sizeof oldFull, oldFull, nullptr);
    const DWORD newLength = GetFullPathNameA(newPath, sizeof newFull, newFull, nullptr);
    if (oldLength == 0 || oldLength >= sizeof oldFull || newLength == 0 || newLength >= sizeof newFull) return false;
    const std::size_t root = RootLength(oldFull);
    return root != 0 && root == RootLength(newFull) &&
           CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, oldFull, static_cast<int>(root), newFull,
                          static_cast<int>(root)) == CSTR_EQUAL;
}

// The platform's rename, which never copies: false with ERROR_NOT_SAME_DEVICE when the names lie
// on two volumes. Windows 95, 98 and ME have only MoveFileA, which copies between volumes: it is
// asked only for names on one volume.
bool RenameWithinVolume(const char* oldPath, const char* newPath) {
    if (PlatformDeletesThroughHandles()) {
        if (const auto moveFileEx = PlatformCall<MoveFileExCall>(KERNEL_LIBRARY, MOVE_FILE_EX))
            return moveFileEx(oldPath, newPath, NEITHER_COPY_NOR_REPLACE) != 0;
    }
    if (!OnOneVolume(oldPath, newPath)) {
        SetLastError(ERROR_NOT_SAME_DEVICE);
        return false;
    }
    return MoveFileA(oldPath, newPath) != 0;
}

DWORD NewFileAttributes(DWORD oldAttributes) {
    const DWORD kept = oldAttributes & KEPT_ATTRIBUTES;
    return kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL;
}

// The copy of the held old file into the held new one, and the old file's deletion through its
// handle, which is let go here. 0, or the code the rename fails with.
std::uint32_t CopyAndDeleteOld(RunData* rd, HANDLE in, const BY_HANDLE_FILE_INFORMATION& old, const char* oldPath,
                               HANDLE out) {
    DWORD failure = NO_ERROR;
    if (!CopyBlocks(rd, in, out, failure)) {
        CloseHandle(in);
        return RuntimeErrnoOf(failure);
    }
    if (!HoldsWholeCopy(in, out)) {
        CloseHandle(in);
        return ERROR_CODE_STREAM;
    }
    SetFileTime(out, &old.ftCreationTime, &old.ftLastAccessTime, &old.ftLastWriteTime);   // as a rename keeps them
    const FileIdentity identity = IdentityOf(old);
    return DeleteAndLetGo(in, oldPath, &identity) ? 0 : ERROR_CODE_NOT_REMOVED;
}

// Between volumes: refused with 19 for a device's new name or an old name that is no file on
// disk, with the platform's error when either file cannot be held (an existing new name, 17).
void MoveAcrossVolumes(RunData* rd, const char* oldPath, const char* newPath) {
    if (TargetOfName(newPath) != NameTarget::DISK_FILE) {
        rd->lastError = ERROR_CODE_NO_DEVICE;
        return;
    }
    HANDLE in = HoldDiskSource(rd, oldPath, SourceUse::READ_AND_DELETE);
    if (in == INVALID_HANDLE_VALUE) return;
    BY_HANDLE_FILE_INFORMATION old{};
    if (!InformationOf(in, old)) {
        StoreWindowsError(rd, GetLastError());
        CloseHandle(in);
        return;
    }
    HANDLE out = HoldNewFile(newPath, NewFileAttributes(old.dwFileAttributes));
    if (out == INVALID_HANDLE_VALUE) {
        StoreWindowsError(rd, GetLastError());
        CloseHandle(in);
        return;
    }
    rd->lastError = CopyAndDeleteOld(rd, in, old, oldPath, out);
    if (rd->lastError != 0) DeleteHeldFile(out, newPath);   // the one file this call made
    CloseHandle(out);
}

// Renames oldPath as newPath and stores the outcome, 0 or the runtime's errno, in lastError. An
// existing new name, file or directory, is never replaced (17).
//
// Within a volume the platform renames in one step, never copying: nothing can be left behind.
// Between volumes a file is copied into a new file this call makes (CREATE_NEW, so nothing that
// appears at the new name meanwhile is touched), then the old file is deleted through the handle
// that held it from before the copy. When any step fails, the new file, and only it, is deleted
// through its own handle: no leftover copy, whatever its attributes, and no one else's file.
void RenameName(RunData* rd, const char* oldPath, const char* newPath) {
    if (RenameWithinVolume(oldPath, newPath)) return;
    const DWORD error = GetLastError();
    if (error == ERROR_NOT_SAME_DEVICE)
        MoveAcrossVolumes(rd, oldPath, newPath);
    else
        StoreWindowsError(rd, error);
}

}  // namespace

// An empty new file; a name already taken, by a file or a directory, is left alone. The file is
// made only if nothing has that name at the moment it is made, so a file another program puts
// there after the test is never emptied.
extern "C" HostWord WINAPI ActionCreateFile(RunData* rd, HostWord file, HostWord) {
    if (!ActionMayRun(rd)) return 0;
    if (!TakeWholeName(rd, rd->workPath, file)) return 0;
    if (NameExists(rd->workPath)) {
        rd->lastError = ERROR_CODE_EXISTS;
        return 0;
    }
    HANDLE made = HoldNewFile(rd->workPath, FILE_ATTRIBUTE_NORMAL);
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
