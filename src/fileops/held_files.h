// Files held open while an action works on them, so that what is checked is what is acted on:
// each file is opened once; what it is, its size, its copy and its deletion are all asked of that
// handle, never of a name opened again. While held, nobody else may write to the file, rename it
// or delete it: other programs share the disk. And deletions checked on disk afterwards: a file
// system can refuse a deletion after it was reported done (Wine unlinks when the last handle
// closes, and says nothing when that fails).
#pragma once

#include <windows.h>
#include <cstdint>

#include "state/file_facts.h"
#include "state/file_handles.h"
#include "state/last_error.h"
#include "state/run_data.h"

// What a held source is opened for.
enum class SourceUse {
    READ,              // copied or appended: read only
    READ_AND_DELETE,   // moved: read, then deleted through the same handle
};

// The source of a transfer, opened for reading with writing and deletion denied to everyone else:
// a file that another program holds open for writing cannot be held (a sharing violation), and
// while it is held no byte can be added to it. INVALID_HANDLE_VALUE with the platform's last error
// when it cannot be held.
HANDLE HoldSource(const char* name, SourceUse use);

// HoldSource for an action on a file on disk: INVALID_HANDLE_VALUE with the runtime's errno for the
// platform's error in outcome when the file cannot be held, or with 19 when what is held is no
// regular file (a FIFO, a unix device or a block device under an ordinary name), which is let go
// again.
// Where opened is given, it receives the file's information as the open found it, before
// anything asked of the handle could touch its times (Wine's GetFileType reads the file, which
// moves its access time).
HANDLE HoldDiskSource(const char* name, SourceUse use, Outcome& outcome, BY_HANDLE_FILE_INFORMATION* opened = nullptr);

// The destination of a transfer, opened for writing, created when missing but never emptied here,
// with writing and deletion denied to everyone else.
HANDLE HoldDestination(const char* name);

// An existing file opened with the access given, writing and deletion denied to everyone else.
HANDLE HoldExisting(const char* name, DWORD access);

// A file this call makes, that must not exist yet, held for reading and writing with nobody else
// let in; on the NT family it can be deleted through its handle again. The attributes are those
// it is made with.
HANDLE HoldNewFile(const char* name, DWORD attributes);

// The access asked, and on the NT family the right to delete the file through the handle too.
DWORD WithDeletion(DWORD access);

// True when the destination holds exactly as many bytes as the source, both sizes asked of the
// held handles. False when either size cannot be had.
bool HoldsWholeCopy(HANDLE source, HANDLE destination);

// Asked after the open of name with access failed with openError while the source was held, and
// after the source is let go: true when the failure was a sharing violation that the source alone
// caused, so that name is the source file under another name (the platform can give one file two
// volume numbers: Wine numbers each drive root). Another program holding the file still blocks
// the second open, and that answers false.
bool WasHeldBySource(const char* name, DWORD access, DWORD openError);
