// Creating, deleting and renaming files, codes 4 to 6 (renaming serves directories too). Each
// does nothing while lastError holds a code, and reports a failure only by the code it stores there.
#pragma once

#include "state/run_data.h"

extern "C" HostWord WINAPI ActionCreateFile(RunData* rd, HostWord file, HostWord);
extern "C" HostWord WINAPI ActionDeleteFile(RunData* rd, HostWord file, HostWord);
extern "C" HostWord WINAPI ActionRenameFile(RunData* rd, HostWord oldName, HostWord newName);
