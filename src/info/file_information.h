// Expressions about one file: its size and three of its dates.
#pragma once

#include "info/file_status.h"
#include "state/run_data.h"

extern "C" HostWord WINAPI ExpressionSizeof(RunData* rd, HostWord token);          // 0 "Sizeof("
extern "C" HostWord WINAPI ExpressionCreationDate(RunData* rd, HostWord token);    // 1 "CreationDate$("
extern "C" HostWord WINAPI ExpressionChangeDate(RunData* rd, HostWord token);      // 2 "ChangeDate$("
extern "C" HostWord WINAPI ExpressionAccessDate(RunData* rd, HostWord token);      // 3 "AccessDate$("
