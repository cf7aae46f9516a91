// "TempFileName$(": a freshly created, empty temporary file's name.
#pragma once

#include "state/run_data.h"

extern "C" HostWord WINAPI ExpressionTempFileName(RunData* rd, HostWord token);      // 13 "TempFileName$("
