// The sticky last error that the directory and file actions share: every code the object
// stores itself (the others are the runtime's errno values and the host's launch results), the
// gate the actions pass, "Clear the last error" and "LastError(".
#pragma once

#include <windows.h>
#include <cerrno>

#include "state/run_data.h"

// Stored when a buffer the object needs cannot be allocated (workPath, a rename's second name).
constexpr std::uint32_t ERROR_CODE_NO_MEMORY = ENOMEM;
// Stored when the runtime reported a file or directory deleted but the name is still there.
constexpr std::uint32_t ERROR_CODE_NOT_REMOVED = EACCES;
// Stored when a copy, move or append names one file as both its source and its destination.
constexpr std::uint32_t ERROR_CODE_SAME_FILE = EBUSY;
// Stored by "Create a file" for a name already taken.
constexpr std::uint32_t ERROR_CODE_EXISTS = EEXIST;
// Stored when a source or destination is a device, a pipe or a FIFO rather than a file on disk.
constexpr std::uint32_t ERROR_CODE_NO_DEVICE = ENODEV;
// Stored when a copy, move or append onto an existing file finds, before it writes, that the drive
// cannot hold what it would write: the runtime's number for a full disk.
constexpr std::uint32_t ERROR_CODE_NO_ROOM = ENOSPC;
// Stored when a stream's error indicator is set after a copy or an append: the object's own code.
constexpr std::uint32_t ERROR_CODE_STREAM = 32;
// Stored when a name is longer than CopyPath keeps, so that its cut form never reaches the disk.
constexpr std::uint32_t ERROR_CODE_NAME_TOO_LONG = ENAMETOOLONG;

// The numbers an application sees, whatever the headers call them.
static_assert(ERROR_CODE_NO_MEMORY == 12 && ERROR_CODE_NOT_REMOVED == 13 && ERROR_CODE_SAME_FILE == 16);
static_assert(ERROR_CODE_EXISTS == 17 && ERROR_CODE_NO_DEVICE == 19 && ERROR_CODE_NO_ROOM == 28);
static_assert(ERROR_CODE_NAME_TOO_LONG == 38);

// The gate every directory and file action passes first. False while lastError holds a code:
// the action then does nothing at all. False too, with 12 stored, when the object has no
// workPath (its creation could not obtain one), so that nothing is written through it.
bool ActionMayRun(RunData* rd);

// Stores the runtime library's errno in lastError, right after the call that failed.
void StoreErrno(RunData* rd);

// Stores the errno the runtime would have set for this platform error, for an action that called
// the platform itself where the runtime would have called it.
void StoreWindowsError(RunData* rd, DWORD error);

// Action 11, "Clear the last error": never gated, this is how an application leaves the error.
extern "C" HostWord WINAPI ActionClearLastError(RunData* rd, HostWord, HostWord);

// Expression 12, "LastError(": the sticky code as an integer.
extern "C" HostWord WINAPI ExpressionLastError(RunData* rd, HostWord token);
