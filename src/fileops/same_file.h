// Whether two names reach one file on disk, whatever the names look like.
#pragma once

#include <windows.h>
#include <cstdio>

// Opens the source of a copy for reading with writing denied to everyone else: nobody changes
// it while it is copied, and an open of the same file for writing, under any name, fails with
// a sharing violation. Null with errno set, as the runtime's fopen.
FILE* OpenSource(const char* name);

// True when the existing file called name is the very file the open stream reads: the same
// volume and the same file index (..\dir\a.txt and a.txt can be one file, and so can two
// hard links). A name that cannot be opened is taken as another file. The platform can give
// one file two volume numbers (Wine numbers each drive root), so this catches most aliases,
// not all: WasHeldBySource catches the rest.
bool IsSameFile(FILE* stream, const char* name);

// Asked after an open of name for writing failed with openError while the source was open,
// and after the source is closed: true when the failure was a sharing violation that the
// source alone caused, so that name is the source file. Another program holding the file
// still blocks the second open, and that answers false.
bool WasHeldBySource(const char* name, DWORD openError);

// Deletes the file called doomed unless it is the file called kept, which is held open
// meanwhile without delete sharing, so that no spelling of the two names can remove it.
// False when nothing was deleted.
bool DeleteUnlessSame(const char* doomed, const char* kept);
