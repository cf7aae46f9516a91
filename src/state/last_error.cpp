#include "state/last_error.h"

extern "C" HostWord WINAPI ExpressionLastError(RunData* rd, HostWord) {
    return rd->lastError;
}
