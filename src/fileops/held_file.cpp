// Opening a file once and asking everything of that handle.
#include "fileops/held_file.h"
#include "state/file_size.h"
#include "state/windows_version.h"

namespace {

// Others may read a held file, never write to it, rename it or delete it.
constexpr DWORD READERS_ONLY = FILE_SHARE_READ;
constexpr DWORD SHARED_WITH_NOBODY = 0;

// ntdll's call that marks a file under a handle for deletion, and its record: the NT family's one
// way to delete a file through the handle that was checked (looked up when called: Windows 95, 98
// and ME have no ntdll to import from).
using NtStatus = LONG;
struct IoStatusBlock {
    union {
        NtStatus status;
        void* pointer;
    };
    ULONG_PTR information;
};
struct DispositionInformation {
    BOOLEAN deleteFile;
};
constexpr int FILE_DISPOSITION_INFORMATION = 13;   // the information class of that record
using SetInformationFileCall = NtStatus(WINAPI*)(HANDLE, IoStatusBlock*, void*, ULONG, int);
constexpr char NT_LAYER[] = "ntdll.dll";
constexpr char SET_INFORMATION_FILE[] = "NtSetInformationFile";

SetInformationFileCall SetInformationFile() {
    HMODULE layer = GetModuleHandleA(NT_LAYER);
    if (!layer) return nullptr;
    return reinterpret_cast<SetInformationFileCall>(reinterpret_cast<void*>(GetProcAddress(layer, SET_INFORMATION_FILE)));
}

// Access that also lets the holder delete the file through its handle, where the platform can.
DWORD WithDeletion(DWORD access) {
    return PlatformDeletesThroughHandles() ? access | DELETE : access;
}

HANDLE Open(const char* name, DWORD access, DWORD sharing, DWORD disposition, DWORD attributes) {
    return CreateFileA(name, access, sharing, nullptr, disposition, attributes, nullptr);
}

bool DeleteThroughHandle(HANDLE file) {
    const SetInformationFileCall call = SetInformationFile();
    if (!call) return false;
    IoStatusBlock status{};
    DispositionInformation disposition{TRUE};
    return call(file, &status, &disposition, sizeof disposition, FILE_DISPOSITION_INFORMATION) >= 0;
}

}  // namespace

// A source that may be read but not deleted by this user (a folder it may not write) is still
// held, for reading alone: the copy is made, and its deletion is then refused as a deletion by
// name would be.
HANDLE HoldSource(const char* name, SourceUse use) {
    if (use == SourceUse::READ_AND_DELETE) {
        HANDLE file = Open(name, WithDeletion(GENERIC_READ), READERS_ONLY, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_ACCESS_DENIED) return file;
    }
    return Open(name, GENERIC_READ, READERS_ONLY, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN);
}

HANDLE HoldDestination(const char* name) {
    return Open(name, GENERIC_WRITE, READERS_ONLY, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL);
}

HANDLE HoldNewFile(const char* name, DWORD attributes) {
    return Open(name, WithDeletion(GENERIC_WRITE), SHARED_WITH_NOBODY, CREATE_NEW, attributes);
}

bool IsDiskFile(HANDLE file) {
    return GetFileType(file) == FILE_TYPE_DISK;
}

bool InformationOf(HANDLE file, BY_HANDLE_FILE_INFORMATION& information) {
    return GetFileInformationByHandle(file, &information) != 0;
}

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& information) {
    return FileIdentity{information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
}

bool SameIdentity(const FileIdentity& first, const FileIdentity& second) {
    return first.volume == second.volume && first.indexHigh == second.indexHigh && first.indexLow == second.indexLow;
}

bool HoldsWholeCopy(HANDLE source, HANDLE destination) {
    std::int64_t sourceSize = 0, destinationSize = 0;
    return HandleFileSize(source, sourceSize) && HandleFileSize(destination, destinationSize) && sourceSize == destinationSize;
}

bool WasHeldBySource(const char* name, DWORD openError) {
    if (openError != ERROR_SHARING_VIOLATION) return false;
    // Asked as the destination was, so that only the source's absence can make it succeed: a
    // neighbour that holds the file open for writing still refuses it.
    HANDLE file = Open(name, GENERIC_WRITE, READERS_ONLY, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

bool DeleteHeldFile(HANDLE file, const char* name) {
    if (PlatformDeletesThroughHandles()) return DeleteThroughHandle(file);
    return DeleteFileA(name) != 0;
}
