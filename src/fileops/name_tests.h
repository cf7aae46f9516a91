// The six conditions: the last action's outcome and what a name on disk is. None of them
// changes lastError; a test that fails for any reason answers false.
#pragma once

#include "state/run_data.h"

extern "C" HostWord WINAPI ConditionLastActionOk(RunData* rd, HostWord, HostWord);
extern "C" HostWord WINAPI ConditionNameExists(RunData* rd, HostWord name, HostWord);
extern "C" HostWord WINAPI ConditionFileIsReadable(RunData* rd, HostWord name, HostWord);
extern "C" HostWord WINAPI ConditionFileIsWriteable(RunData* rd, HostWord name, HostWord);
extern "C" HostWord WINAPI ConditionNameIsFile(RunData* rd, HostWord name, HostWord);
extern "C" HostWord WINAPI ConditionNameIsDirectory(RunData* rd, HostWord name, HostWord);
