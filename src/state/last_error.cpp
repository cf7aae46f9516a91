// The gate on lastError, the errno it records, "Clear the last error" and "LastError(".
#include "state/last_error.h"

bool ActionMayRun(RunData* rd) {
    if (rd->lastError != DONE) return false;
    if (!rd->workPath) {
        StoreOutcome(rd, ERROR_CODE_NO_MEMORY);
        return false;
    }
    return true;
}

void StoreOutcome(RunData* rd, Outcome outcome) {
    rd->lastError = outcome;
}

void StoreErrno(RunData* rd) {
    StoreOutcome(rd, static_cast<Outcome>(errno));
}

void StoreCreationOutcome(RunData* rd) {
    StoreOutcome(rd, rd->workPath ? DONE : ERROR_CODE_NO_MEMORY);
}

extern "C" HostWord WINAPI ActionClearLastError(RunData* rd, HostWord, HostWord) {
    StoreOutcome(rd, DONE);
    return 0;
}

extern "C" HostWord WINAPI ExpressionLastError(RunData* rd, HostWord) {
    return rd->lastError;
}
