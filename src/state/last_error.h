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
// Stored when a copy or an append could not read, write or flush every byte: the object's own code.
constexpr std::uint32_t ERROR_CODE_WRITE_FAILED = 32;
// Stored when a name is longer than CopyPath keeps, so that its cut form never reaches the disk.
constexpr std::uint32_t ERROR_CODE_NAME_TOO_LONG = ENAMETOOLONG;

// The numbers an application sees, whatever the headers call them.
static_assert(ERROR_CODE_NO_MEMORY == 12 && ERROR_CODE_NOT_REMOVED == 13 && ERROR_CODE_SAME_FILE == 16);
static_assert(ERROR_CODE_EXISTS == 17 && ERROR_CODE_NO_DEVICE == 19 && ERROR_CODE_NO_ROOM == 28);
static_assert(ERROR_CODE_NAME_TOO_LONG == 38);

// What an action comes to: 0 when it succeeded, else the code it stores.
using Outcome = std::uint32_t;
constexpr Outcome DONE = 0;

// The gate every directory and file action passes first. False while lastError holds a code:
// the action then does nothing at all. False too, with 12 stored, when the object has no
// workPath (its creation could not obtain one), so that nothing is written through it.
bool ActionMayRun(RunData* rd);

// The stores: the only writers of lastError. An action works out its outcome and stores it once.
// Stores an action's outcome, DONE or one of the codes above.
void StoreOutcome(RunData* rd, Outcome outcome);

// Stores the runtime library's errno in lastError, right after the call that failed.
void StoreErrno(RunData* rd);

// Starts a new object's record with no error, or with 12 when its workPath could not be had.
void StoreCreationOutcome(RunData* rd);

// Action 11, "Clear the last error": never gated, this is how an application leaves the error.
extern "C" HostWord WINAPI ActionClearLastError(RunData* rd, HostWord, HostWord);

// Expression 12, "LastError(": the sticky code as an integer.
extern "C" HostWord WINAPI ExpressionLastError(RunData* rd, HostWord token);
