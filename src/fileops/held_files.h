// Files held open while an action works on them, so that what is checked is what is acted on:
// each file is opened once; what it is, its size, its copy and its deletion are all asked of that
// handle, never of a name opened again. While held, nobody else may write to the file, rename it
// or delete it: other programs share the disk. And deletions checked on disk afterwards: a file
// system can refuse a deletion after it was reported done (Wine unlinks when the last handle
// closes, and says nothing when that fails).
#pragma once

#include <windows.h>
#include <cstdint>

#include "state/file_handles.h"
#include "state/file_facts.h"
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

// HoldSource for an action on a file on disk: INVALID_HANDLE_VALUE with the platform's error stored
// when the file cannot be held, or with 19 when what is held is no regular file (a FIFO, a unix
// device or a block device under an ordinary name), which is let go again.
// Where opened is given, it receives the file's information as the open found it, before
// anything asked of the handle could touch its times (Wine's GetFileType reads the file, which
// moves its access time).
HANDLE HoldDiskSource(RunData* rd, const char* name, SourceUse use, BY_HANDLE_FILE_INFORMATION* opened = nullptr);

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

// Deletes the held file: through its handle on the NT family (it goes when the handle closes,
// and nothing another program put at the name since can be hit), by its name while it is still
// held on Windows 95, 98 and ME, which have no such call and delete open files by name. False
// when the platform refuses (a read-only file, a file held without delete sharing).
bool DeleteHeldFile(HANDLE file, const char* name);

// Deletes the held file as DeleteHeldFile does and lets it go. True when it is gone: false when the
// platform refused, or when the name still leads to that very file (identity, when known) after
// the handle closed, as a file system can refuse a deletion it reported done.
bool DeleteAndLetGo(HANDLE file, const char* name, const FileIdentity* identity);

// The runtime's deletion of a file (remove) or of an empty directory (_rmdir).
using RemovalCall = int (*)(const char* name);

// True when the name still leads to a file or directory that nobody holds open, and, when an
// identity is given, to that very file: another program may have made a new file of that name
// since. One that another program holds open may be waiting for that program to let go before
// it goes: that counts as gone.
bool StillThere(const char* name, const FileIdentity* identity = nullptr);

// Deletes name with call and stores its errno when it fails. When it reports success but the
// name is still there, 13 (EACCES) is stored: the deletion was refused.
void RemoveName(RunData* rd, const char* name, RemovalCall call);

// "Delete a file" and "Delete a directory": the gate, the whole name through workPath, then
// RemoveName with the runtime's call.
void DeleteAction(RunData* rd, HostWord name, RemovalCall call);
