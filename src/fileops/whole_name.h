// Names that reach the file system whole or not at all.
#pragma once

#include "state/run_data.h"

// Copies the name into destination with CopyPath and answers true when it came through whole.
// A longer name is refused: its first 259 characters can name another, existing file, which
// the action would then delete, replace or rename. 38 is stored and the answer is false.
bool TakeWholeName(RunData* rd, char* destination, HostWord name);

// The same refusal without the copy, for a name that goes into workPath later.
bool NameIsWhole(RunData* rd, HostWord name);
