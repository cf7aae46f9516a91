// Deleting a name and making sure it is gone: a file system can refuse a deletion after the
// runtime has reported it done (Wine unlinks when the last handle closes, and says nothing when
// that fails).
#pragma once

#include "fileops/held_file.h"
#include "state/run_data.h"

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
