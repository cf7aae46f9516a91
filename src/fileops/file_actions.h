// The directory and file actions, codes 0 to 10. Each does nothing while lastError holds a
// code, and reports a failure only by the code it stores there.
#pragma once

#include "state/run_data.h"

extern "C" HostWord WINAPI ActionChangeDirectory(RunData* rd, HostWord directory, HostWord);
extern "C" HostWord WINAPI ActionSetOriginalDirectory(RunData* rd, HostWord, HostWord);
extern "C" HostWord WINAPI ActionCreateDirectory(RunData* rd, HostWord directory, HostWord);
extern "C" HostWord WINAPI ActionDeleteDirectory(RunData* rd, HostWord directory, HostWord);
extern "C" HostWord WINAPI ActionCreateFile(RunData* rd, HostWord file, HostWord);
extern "C" HostWord WINAPI ActionDeleteFile(RunData* rd, HostWord file, HostWord);
extern "C" HostWord WINAPI ActionRenameFile(RunData* rd, HostWord oldName, HostWord newName);
extern "C" HostWord WINAPI ActionAppendFile(RunData* rd, HostWord source, HostWord destination);
extern "C" HostWord WINAPI ActionCopyFile(RunData* rd, HostWord source, HostWord destination);
extern "C" HostWord WINAPI ActionMoveFile(RunData* rd, HostWord source, HostWord destination);
extern "C" HostWord WINAPI ActionAppendText(RunData* rd, HostWord text, HostWord destination);
