#include "catalogue/pending_handlers.h"
#include "host/host_services.h"

extern "C" HostWord WINAPI PendingHandler(RunData*, HostWord, HostWord) {
    return 0;
}

extern "C" HostWord WINAPI PendingIntegerExpression(RunData*, HostWord) {
    return 0;
}

extern "C" HostWord WINAPI PendingStringExpression(RunData* rd, HostWord) {
    return EmptyStringResult(rd);
}
