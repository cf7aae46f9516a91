// The platform's one-step rename, and the copy and deletion through held files between volumes.
#include "fileops/copy_stream.h"
#include "fileops/disk_file.h"
#include "fileops/held_file.h"
#include "fileops/removal.h"
#include "fileops/rename_name.h"
#include "state/last_error.h"
#include "state/windows_errors.h"
#include "state/windows_version.h"

namespace {

// MoveFileExA with no flag renames in one step and never copies nor replaces. The NT family has
// it; it is looked up when called, as Windows 95, 98 and ME do not implement it.
using MoveFileExCall = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);
constexpr char KERNEL[] = "kernel32.dll";
constexpr char MOVE_FILE_EX[] = "MoveFileExA";
constexpr DWORD NEITHER_COPY_NOR_REPLACE = 0;

// What a new file keeps of the old one's attributes when it is made: read-only comes too late
// (a read-only old file cannot be deleted, so its rename fails and its copy must go).
constexpr DWORD KEPT_ATTRIBUTES = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

MoveFileExCall MoveFileEx() {
    HMODULE kernel = GetModuleHandleA(KERNEL);
    if (!kernel) return nullptr;
    return reinterpret_cast<MoveFileExCall>(reinterpret_cast<void*>(GetProcAddress(kernel, MOVE_FILE_EX)));
}

// The length of a full path's root, "C:\" or "\\server\share\", walked by character (a second
// byte 0x5C in a server's name is no separator); 0 when it has none.
std::size_t RootLength(const char* path) {
    constexpr int UNC_SEPARATORS = 2;   // after the server's name, after the share's
    if (path[0] != '\0' && path[1] == ':') return path[2] == '\\' ? 3 : 2;
    if (path[0] != '\\' || path[1] != '\\') return 0;
    int separators = 0;
    const char* at = path + 2;
    for (; *at != '\0'; at = CharNextA(at))
        if (*at == '\\' && ++separators == UNC_SEPARATORS) return static_cast<std::size_t>(at - path) + 1;
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
        if (const MoveFileExCall moveFileEx = MoveFileEx())
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
    const bool deleted = DeleteHeldFile(in, oldPath);
    CloseHandle(in);
    const FileIdentity identity = IdentityOf(old);
    if (!deleted || StillThere(oldPath, &identity)) return ERROR_CODE_NOT_REMOVED;
    return 0;
}

// Between volumes: refused with 19 for a device's new name or an old name that is no file on
// disk, with the platform's error when either file cannot be held (an existing new name, 17).
void MoveAcrossVolumes(RunData* rd, const char* oldPath, const char* newPath) {
    if (TargetOfName(newPath) != NameTarget::DISK_FILE) {
        rd->lastError = ERROR_CODE_NO_DEVICE;
        return;
    }
    HANDLE in = HoldSource(oldPath, SourceUse::READ_AND_DELETE);
    if (in == INVALID_HANDLE_VALUE) {
        StoreWindowsError(rd, GetLastError());
        return;
    }
    if (!IsDiskFile(in)) {
        CloseHandle(in);
        rd->lastError = ERROR_CODE_NO_DEVICE;
        return;
    }
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

}  // namespace

void RenameName(RunData* rd, const char* oldPath, const char* newPath) {
    if (RenameWithinVolume(oldPath, newPath)) return;
    const DWORD error = GetLastError();
    if (error == ERROR_NOT_SAME_DEVICE)
        MoveAcrossVolumes(rd, oldPath, newPath);
    else
        StoreWindowsError(rd, error);
}
