#include <cerrno>

#include "fileops/deletions.h"
#include "fileops/file_names.h"
#include "state/nt_file_calls.h"
#include "state/windows_version.h"

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

Outcome RemoveName(const char* name, RemovalCall call) {
    if (call(name) != 0) return static_cast<Outcome>(errno);
    return StillThere(name) ? ERROR_CODE_NOT_REMOVED : DONE;
}

void DeleteAction(RunData* rd, HostWord name, RemovalCall call) {
    if (!ActionMayRun(rd)) return;
    if (!TakeWholeName(rd, rd->workPath, name)) return;
    StoreOutcome(rd, RemoveName(rd->workPath, call));
}
