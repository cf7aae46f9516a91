// The gate on lastError, the errno it records, "Clear the last error" and "LastError(".
#include "state/last_error.h"
#include "state/windows_errors.h"

bool ActionMayRun(RunData* rd) {
    if (rd->lastError != 0) return false;
    if (!rd->workPath) {
        rd->lastError = ERROR_CODE_NO_MEMORY;
        return false;
    }
    return true;
}

void StoreErrno(RunData* rd) {
    rd->lastError = static_cast<std::uint32_t>(errno);
}

void StoreWindowsError(RunData* rd, DWORD error) {
    rd->lastError = RuntimeErrnoOf(error);
}

extern "C" HostWord WINAPI ActionClearLastError(RunData* rd, HostWord, HostWord) {
    rd->lastError = 0;
    return 0;
}

extern "C" HostWord WINAPI ExpressionLastError(RunData* rd, HostWord) {
    return rd->lastError;
}
