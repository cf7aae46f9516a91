#pragma once

#include "state/run_data.h"

// Expression 12, "LastError(": the sticky code as an integer.
extern "C" HostWord WINAPI ExpressionLastError(RunData* rd, HostWord token);
