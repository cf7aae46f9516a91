// Appending, copying and moving files and appending text, codes 7 to 10. Each does nothing while
// lastError holds a code, and reports a failure only by the code it stores there.
#pragma once

#include "state/run_data.h"

extern "C" HostWord WINAPI ActionAppendFile(RunData* rd, HostWord source, HostWord destination);
extern "C" HostWord WINAPI ActionCopyFile(RunData* rd, HostWord source, HostWord destination);
extern "C" HostWord WINAPI ActionMoveFile(RunData* rd, HostWord source, HostWord destination);
extern "C" HostWord WINAPI ActionAppendText(RunData* rd, HostWord text, HostWord destination);
