// What a held file is, asked of its handle: through the NT layer where there is one (cheap), else
// through kernel32 (Windows 95, 98 and ME). And the one rule for a file on disk, which every check
// of a handle follows.
#pragma once

#include <windows.h>

#include "state/file_handles.h"

// The facts of the file under the handle; false when the platform cannot give them (a device).
bool FactsOf(HANDLE file, FileFacts& facts);

// True when the handle is a regular file on disk, whose reads and writes keep and end: not a
// device, a pipe or a FIFO (GetFileType), nor a block device or a folder, which answer as a
// disk but have no file's facts or are folders. A block device under an ordinary name (a disk
// image on a loop device, reached through a link) would otherwise be written over or read whole.
bool IsRegularFile(HANDLE file);
