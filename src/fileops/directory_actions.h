// The directory actions, codes 0 to 3: change the current directory, go back to the original one,
// create and delete a directory. Each does nothing while lastError holds a code, and reports a
// failure only by the code it stores there.
#pragma once

#include "state/run_data.h"

extern "C" HostWord WINAPI ActionChangeDirectory(RunData* rd, HostWord directory, HostWord);
extern "C" HostWord WINAPI ActionSetOriginalDirectory(RunData* rd, HostWord, HostWord);
extern "C" HostWord WINAPI ActionCreateDirectory(RunData* rd, HostWord directory, HostWord);
extern "C" HostWord WINAPI ActionDeleteDirectory(RunData* rd, HostWord directory, HostWord);
