// Whether a name or an open stream is a file on disk, and whether a copy on disk is whole.
#pragma once

#include <windows.h>
#include <cstdio>

// The platform handle under an open stream.
HANDLE HandleOf(FILE* stream);

// What a name leads to, asked before it is opened for reading or writing: opening a device
// can already wait or change it, and reading or writing one can wait for ever.
enum class NameTarget {
    DISK_FILE,      // a file on disk, or a name not taken yet (an open would create a file)
    NULL_DEVICE,    // NUL under any of its names: keeps nothing, never waits
    OTHER_DEVICE,   // a serial or printer port, the console, a pipe, a unix FIFO or device
};

// A name the platform turns into a path in the device space (COM1, nul.txt, c:\dir\prn,
// \\.\pipe\x) is a device; \\.\C:\dir\a.txt is a file on disk. An existing name is then asked
// of a handle that opens no data (a FIFO in a drive has an ordinary name).
NameTarget TargetOf(const char* name);

// True when the stream is a file on disk: not a device (COM1, CON, NUL, PRN...) nor a pipe,
// whose reads can wait for ever and whose writes keep nothing.
bool IsDiskFile(FILE* stream);

// True when the destination holds exactly as many bytes as the source, both sizes asked of
// the open handles (flush the destination first). False when either size cannot be had.
bool HoldsWholeCopy(FILE* source, FILE* destination);
