// Names given to an action: whether they reach the file system whole, and whether they exist.
#pragma once

#include "state/path_names.h"

// Copies the name into destination with CopyPath and answers true when it came through whole.
// A longer name is refused: its first 259 characters can name another, existing file, which
// the action would then delete, replace or rename. 38 is stored and the answer is false.
bool TakeWholeName(RunData* rd, char* destination, HostWord name);

// The same refusal without the copy, for a name that goes into workPath later.
bool NameIsWhole(RunData* rd, HostWord name);

// The modes of the runtime's permission check (_access), and its answer for a name it cannot
// grant or find.
constexpr int ACCESS_EXISTS = 0;
constexpr int ACCESS_READ = 4;
constexpr int ACCESS_WRITE = 2;
constexpr int ACCESS_FAILED = -1;

// The runtime's test: true when the name exists, as a file or a directory.
bool NameExists(const char* name);
