// Opening a file once and asking everything of that handle.
#include "fileops/file_names.h"
#include "fileops/held_files.h"
#include "state/file_facts.h"
#include "state/file_handles.h"
#include "state/last_error.h"
#include "state/windows_errors.h"
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

HANDLE HoldDiskSource(const char* name, SourceUse use, Outcome& outcome, BY_HANDLE_FILE_INFORMATION* opened) {
    HANDLE file = HoldSource(name, use);
    if (file == INVALID_HANDLE_VALUE) {
        outcome = RuntimeErrnoOf(GetLastError());
    } else if ((opened && !InformationOf(file, *opened)) || !IsRegularFile(file)) {
        CloseHandle(file);
        outcome = ERROR_CODE_NO_DEVICE;
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
