// Opening a file once and asking everything of that handle; deleting through a handle, and
// checking on disk that a deletion happened.
#include "fileops/file_names.h"
#include "fileops/held_files.h"
#include "state/file_handles.h"
#include "state/last_error.h"
#include "state/file_facts.h"
#include "state/nt_file_calls.h"
#include "state/windows_version.h"

namespace {

HANDLE Open(const char* name, DWORD access, DWORD sharing, DWORD disposition, DWORD attributes) {
    return CreateFileA(name, access, sharing, nullptr, disposition, attributes, nullptr);
}

}  // namespace

// A source that may be read but not deleted by this user (a folder it may not write) is still
// held, for reading alone: the copy is made, and its deletion is then refused as a deletion by
// name would be.
HANDLE HoldSource(const char* name, SourceUse use) {
    if (use == SourceUse::READ_AND_DELETE) {
        HANDLE file = Open(name, WithDeletion(GENERIC_READ), SHARED_WITH_READERS, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_ACCESS_DENIED) return file;
    }
    return Open(name, GENERIC_READ, SHARED_WITH_READERS, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN);
}

HANDLE HoldDiskSource(RunData* rd, const char* name, SourceUse use, BY_HANDLE_FILE_INFORMATION* opened) {
    HANDLE file = HoldSource(name, use);
    if (file == INVALID_HANDLE_VALUE) {
        StoreWindowsError(rd, GetLastError());
    } else if ((opened && !InformationOf(file, *opened)) || !IsRegularFile(file)) {
        CloseHandle(file);
        rd->lastError = ERROR_CODE_NO_DEVICE;
        file = INVALID_HANDLE_VALUE;
    }
    return file;
}

HANDLE HoldDestination(const char* name) {
    return Open(name, GENERIC_WRITE, SHARED_WITH_READERS, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL);
}

HANDLE HoldExisting(const char* name, DWORD access) {
    return Open(name, access, SHARED_WITH_READERS, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
}

HANDLE HoldNewFile(const char* name, DWORD attributes) {
    return Open(name, WithDeletion(GENERIC_READ | GENERIC_WRITE), SHARED_WITH_NOBODY, CREATE_NEW, attributes);
}

DWORD WithDeletion(DWORD access) {
    return IsNtPlatform() ? access | DELETE : access;
}

bool HoldsWholeCopy(HANDLE source, HANDLE destination) {
    std::int64_t sourceSize = 0, destinationSize = 0;
    return HandleFileSize(source, sourceSize) && HandleFileSize(destination, destinationSize) && sourceSize == destinationSize;
}

bool WasHeldBySource(const char* name, DWORD access, DWORD openError) {
    if (openError != ERROR_SHARING_VIOLATION) return false;
    // Asked as the destination was, so that only the source's absence can make it succeed: a
    // neighbour that holds the file open for writing still refuses it.
    HANDLE file = HoldExisting(name, access);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

bool DeleteHeldFile(HANDLE file, const char* name) {
    if (IsNtPlatform()) return NtDelete(file);
    return DeleteFileA(name) != 0;
}

bool DeleteAndLetGo(HANDLE file, const char* name, const FileIdentity* identity) {
    const bool deleted = DeleteHeldFile(file, name);
    CloseHandle(file);
    return deleted && !StillThere(name, identity);
}

// Opened with no sharing, a name that another handle holds fails with a sharing violation;
// folders open only with backup semantics.
bool StillThere(const char* name, const FileIdentity* identity) {
    if (GetFileAttributesA(name) == INVALID_FILE_ATTRIBUTES) return false;
    HANDLE file = CreateFileA(name, GENERIC_READ, SHARED_WITH_NOBODY, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() != ERROR_SHARING_VIOLATION;
    BY_HANDLE_FILE_INFORMATION information{};
    const bool same = !identity || (InformationOf(file, information) && SameIdentity(IdentityOf(information), *identity));
    CloseHandle(file);
    return same;
}

void RemoveName(RunData* rd, const char* name, RemovalCall call) {
    if (call(name) != 0) {
        StoreErrno(rd);
        return;
    }
    if (StillThere(name)) rd->lastError = ERROR_CODE_NOT_REMOVED;
}

void DeleteAction(RunData* rd, HostWord name, RemovalCall call) {
    if (!ActionMayRun(rd)) return;
    if (!TakeWholeName(rd, rd->workPath, name)) return;
    RemoveName(rd, rd->workPath, call);
}
