// Moving the rest of one held file into another through one small buffer.
#pragma once

#include <windows.h>

#include "state/run_data.h"

// Copies from the source's position until it ends, reading and writing through the handles.
// True when every block read was written whole; false at the first read or write that failed or
// fell short, with the platform's error in failure (ERROR_DISK_FULL for a short write). Opens and
// closes nothing.
bool CopyBlocks(RunData* rd, HANDLE source, HANDLE destination, DWORD& failure);

// CopyBlocks as the transfer actions report it: ERROR_CODE_STREAM when a read or a write failed,
// else 0. The end of the source is no error.
std::uint32_t CopyStream(RunData* rd, HANDLE source, HANDLE destination);
