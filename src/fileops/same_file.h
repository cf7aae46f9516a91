// Whether two names reach one file on disk, whatever the names look like.
#pragma once

#include <cstdio>

// True when the existing file called name is the very file the open stream reads: the same
// volume and the same file index (..\dir\a.txt and a.txt can be one file, and so can two
// hard links). A name that cannot be opened is taken as another file.
bool IsSameFile(FILE* stream, const char* name);
