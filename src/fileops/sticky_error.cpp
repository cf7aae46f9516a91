// The gate on lastError, the errno it records, and "Clear the last error".
#include <cerrno>

#include "fileops/sticky_error.h"

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

// Never gated: this is how an application leaves the error state.
extern "C" HostWord WINAPI ActionClearLastError(RunData* rd, HostWord, HostWord) {
    rd->lastError = 0;
    return 0;
}
