// Deleting: a held file through its handle, and a name through the runtime ("Delete a file",
// "Delete a directory"), each checked on disk afterwards, as a file system can refuse a deletion
// it reported done.
#pragma once

#include <windows.h>

#include "state/file_handles.h"
#include "state/last_error.h"
#include "state/run_data.h"

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

// Deletes name with call: DONE, its errno when it fails, or 13 (EACCES) when it reports success
// but the name is still there: the deletion was refused.
Outcome RemoveName(const char* name, RemovalCall call);

// "Delete a file" and "Delete a directory": the gate, the whole name through workPath, then
// RemoveName with the runtime's call.
void DeleteAction(RunData* rd, HostWord name, RemovalCall call);
