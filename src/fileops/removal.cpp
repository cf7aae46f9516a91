// Deletions that are checked on disk after the runtime reports them.
#include "fileops/removal.h"
#include "fileops/whole_name.h"
#include "state/last_error.h"

namespace {

constexpr DWORD SHARED_WITH_NOBODY = 0;

}  // namespace

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
