// Stand-ins for the handlers not yet written: they do nothing and answer 0 or the empty string.
#pragma once

#include "state/run_data.h"

extern "C" HostWord WINAPI PendingHandler(RunData* rd, HostWord param1, HostWord param2);
extern "C" HostWord WINAPI PendingIntegerExpression(RunData* rd, HostWord token);
extern "C" HostWord WINAPI PendingStringExpression(RunData* rd, HostWord token);
