// Creating, deleting and renaming files (renaming serves directories too). A rename never lets
// the platform copy: within a volume it is one step, between volumes a copy through held files,
// given the new name once whole and on disk, that removes only what this call made.
#include <cstdio>

#include "fileops/beside_files.h"
#include "fileops/block_copy.h"
#include "fileops/deletions.h"
#include "fileops/file_actions.h"
#include "fileops/file_names.h"
#include "fileops/held_files.h"
#include "state/host_services.h"
#include "state/last_error.h"
#include "state/name_characters.h"
#include "state/windows_errors.h"
#include "state/windows_version.h"

namespace {

int RemoveFile(const char* name) {
    return std::remove(name);
}

// MoveFileExA with no flag renames in one step and never copies nor replaces.
constexpr DWORD NEITHER_COPY_NOR_REPLACE = 0;

// Where a drive letter or a share is a volume (Windows 95, 98 and ME), two names lie on one volume
// when their full paths share a root, letter case aside. False when either cannot be made full.
bool OnOneVolume(const char* oldPath, const char* newPath) {
    char oldFull[PATH_BUFFER_SIZE], newFull[PATH_BUFFER_SIZE];
    if (!FullPathOf(oldPath, oldFull) || !FullPathOf(newPath, newFull)) return false;
    const std::size_t root = RootLength(oldFull);
    return root != 0 && root == RootLength(newFull) &&
           CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, oldFull, static_cast<int>(root), newFull,
                          static_cast<int>(root)) == CSTR_EQUAL;
}

// The platform's rename, which never copies: false with ERROR_NOT_SAME_DEVICE when the names lie
// on two volumes. Windows 95, 98 and ME have only MoveFileA, which copies between volumes: it is
// asked only for names on one volume.
bool RenameWithinVolume(const char* oldPath, const char* newPath) {
    if (!IsNtPlatform() && !OnOneVolume(oldPath, newPath)) {
        SetLastError(ERROR_NOT_SAME_DEVICE);
        return false;
    }
    return RenameWithoutCopy(oldPath, newPath, NEITHER_COPY_NOR_REPLACE);
}

// The copy of the held old file into the new file made for it, with the old file's dates, as a
// rename keeps them, flushed so that it is on disk before the old file goes. DONE, or the code the
// rename fails with.
Outcome FillNewFile(HANDLE in, const BY_HANDLE_FILE_INFORMATION& old, BesideFile& made) {
    CopyBuffer buffer;
    ObtainCopyBuffer(buffer);
    DWORD failure = NO_ERROR;
    const bool copied = CopyBlocks(buffer, in, made.held, failure);
    ReleaseCopyBuffer(buffer);
    if (!copied) return RuntimeErrnoOf(failure);
    if (!HoldsWholeCopy(in, made.held)) return ERROR_CODE_WRITE_FAILED;
    SetFileTime(made.held, &old.ftCreationTime, &old.ftLastAccessTime, &old.ftLastWriteTime);
    return FlushFileBuffers(made.held) ? DONE : RuntimeErrnoOf(GetLastError());
}

// The new file given its name, then the old file, named in workPath, deleted through the handle
// that held it from before the copy. When the old file cannot be deleted, the new one is deleted
// again while it is still the file this call made: the rename fails whole. DONE, or the code it
// fails with.
Outcome PlaceAndDeleteOld(RunData* rd, HANDLE in, const BY_HANDLE_FILE_INFORMATION& old, BesideFile& made,
                          const char* newPath) {
    RememberBesideFile(made);   // to delete it again at its new name if the old file stays
    if (!PutInPlace(made, newPath)) {
        const DWORD error = GetLastError();
        DiscardBesideFile(made);
        CloseHandle(in);
        return IsTaken(error) ? ERROR_CODE_EXISTS : RuntimeErrnoOf(error);
    }
    const FileIdentity identity = IdentityOf(old);
    if (DeleteAndLetGo(in, rd->workPath, &identity)) return DONE;
    if (made.known) DeleteIfSame(newPath, made.identity);
    return ERROR_CODE_NOT_REMOVED;
}

// Between volumes: refused with 19 for a device's new name or an old name that is no file on
// disk, with 17 for an existing new name, with the platform's error when the old file cannot be
// held or no file can be made beside the new name.
Outcome MoveAcrossVolumes(RunData* rd, const char* newPath) {
    if (TargetOfName(newPath) != NameTarget::DISK_FILE) return ERROR_CODE_NO_DEVICE;
    if (NameExists(newPath)) return ERROR_CODE_EXISTS;   // told before a byte is copied
    BY_HANDLE_FILE_INFORMATION old{};
    Outcome outcome = DONE;
    HANDLE in = HoldDiskSource(rd->workPath, SourceUse::READ_AND_DELETE, outcome, &old);
    if (in == INVALID_HANDLE_VALUE) return outcome;
    BesideFile made;
    if (!MakeBesideFile(newPath, KeptAttributes(old.dwFileAttributes), BesidePlace::DESTINATION_TOO, made)) {
        const DWORD error = GetLastError();
        CloseHandle(in);
        return IsTaken(error) ? ERROR_CODE_EXISTS : RuntimeErrnoOf(error);
    }
    outcome = FillNewFile(in, old, made);
    if (outcome == DONE) return PlaceAndDeleteOld(rd, in, old, made, newPath);
    DiscardBesideFile(made);
    CloseHandle(in);
    return outcome;
}

// Renames the old name, in workPath, as newPath: DONE or the runtime's errno. An existing new name,
// file or directory, is never replaced (17).
//
// Within a volume the platform renames in one step, never copying: nothing can be left behind.
// Between volumes a file is copied into a new file this call makes beside the new name (or under
// it: CREATE_NEW, so nothing that appears at the new name meanwhile is touched), flushed, given
// the new name, and only then is the old file deleted through the handle that held it from before
// the copy. When any step fails, the new file, and only it, is deleted: no leftover copy, whatever
// its attributes, and no one else's file. A kill part-way leaves at most a file of the pattern
// ~QTFxxxx.TMP beside the new name, never a cut file under it.
Outcome RenameName(RunData* rd, const char* newPath) {
    if (RenameWithinVolume(rd->workPath, newPath)) return DONE;
    const DWORD error = GetLastError();
    return error == ERROR_NOT_SAME_DEVICE ? MoveAcrossVolumes(rd, newPath) : RuntimeErrnoOf(error);
}

}  // namespace

// An empty new file; a name already taken, by a file or a directory, is left alone. The file is
// made only if nothing has that name at the moment it is made, so a file another program puts
// there after the test is never emptied.
extern "C" HostWord WINAPI ActionCreateFile(RunData* rd, HostWord file, HostWord) {
    if (!ActionMayRun(rd)) return 0;
    if (!TakeWholeName(rd, rd->workPath, file)) return 0;
    if (NameExists(rd->workPath)) {
        StoreOutcome(rd, ERROR_CODE_EXISTS);
        return 0;
    }
    HANDLE made = HoldNewFile(rd->workPath, FILE_ATTRIBUTE_NORMAL);
    if (made == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        StoreOutcome(rd, IsTaken(error) ? ERROR_CODE_EXISTS : RuntimeErrnoOf(error));
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
        StoreOutcome(rd, ERROR_CODE_NO_MEMORY);
        return 0;
    }
    if (TakeWholeName(rd, rd->workPath, oldName) && TakeWholeName(rd, newPath, newName))
        StoreOutcome(rd, RenameName(rd, newPath));
    LocalFree(newPath);
    return 0;
}
