// Files held open while an action works on them. Each file is opened once; what it is, whether it
// is another name of the other file, its size and its deletion are all asked of that handle, never
// of a name opened again. While held, nobody else may write to the file, rename it or delete it:
// other programs share the disk, and a file checked must be the file acted on.
#pragma once

#include <windows.h>

// Who a file is, whatever name leads to it: its volume and its index on that volume.
struct FileIdentity {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
};

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

// The destination of a transfer, opened for writing, created when missing but never emptied here,
// with writing and deletion denied to everyone else.
HANDLE HoldDestination(const char* name);

// A file this call makes, that must not exist yet, held with nobody else let in; on the NT family
// it can be deleted through its handle again. The attributes are those it is made with.
HANDLE HoldNewFile(const char* name, DWORD attributes);

// True when the handle is a file on disk: not a device, a pipe nor a FIFO, whose reads and writes
// can wait for ever or keep nothing.
bool IsDiskFile(HANDLE file);

// The identity and attributes of a held file; false when the platform cannot give them.
bool InformationOf(HANDLE file, BY_HANDLE_FILE_INFORMATION& information);
FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& information);
bool SameIdentity(const FileIdentity& first, const FileIdentity& second);

// True when the destination holds exactly as many bytes as the source, both sizes asked of the
// held handles. False when either size cannot be had.
bool HoldsWholeCopy(HANDLE source, HANDLE destination);

// Asked after the open of name for writing failed with openError while the source was held, and
// after the source is let go: true when the failure was a sharing violation that the source alone
// caused, so that name is the source file under another name (the platform can give one file two
// volume numbers: Wine numbers each drive root). Another program holding the file still blocks
// the second open, and that answers false.
bool WasHeldBySource(const char* name, DWORD openError);

// Deletes the held file: through its handle on the NT family (it goes when the handle closes,
// and nothing another program put at the name since can be hit), by its name while it is still
// held on Windows 95, 98 and ME, which have no such call and delete open files by name. False
// when the platform refuses (a read-only file, a file held without delete sharing).
bool DeleteHeldFile(HANDLE file, const char* name);
