// The sticky last error that the directory and file actions share, and what they share besides.
#pragma once

#include "state/run_data.h"

// Stored when a copy, move or append names one file as both its source and its destination.
constexpr std::uint32_t ERROR_CODE_SAME_FILE = 16;   // EBUSY: the file is busy as the source
// Stored when a copy's source, or a move's destination, is a device rather than a file on disk.
constexpr std::uint32_t ERROR_CODE_NO_DEVICE = 19;   // ENODEV
// Stored when the runtime reported a file or directory deleted but the name is still there.
constexpr std::uint32_t ERROR_CODE_NOT_REMOVED = 13;   // EACCES: the file system refused
// Stored when a name is longer than CopyPath keeps, so that its cut form never reaches the disk.
constexpr std::uint32_t ERROR_CODE_NAME_TOO_LONG = 38;   // ENAMETOOLONG

// The gate every directory and file action passes first. False while lastError holds a code:
// the action then does nothing at all. False too, with 12 stored, when the object has no
// workPath (its creation could not obtain one), so that nothing is written through it.
bool ActionMayRun(RunData* rd);

// Stores the runtime library's errno in lastError, right after the call that failed.
void StoreErrno(RunData* rd);

// A string parameter as the host passed it.
inline const char* TextParameter(HostWord parameter) {
    return reinterpret_cast<const char*>(parameter);
}

extern "C" HostWord WINAPI ActionClearLastError(RunData* rd, HostWord, HostWord);
