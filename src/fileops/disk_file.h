// Whether an open stream is a file on disk, and whether a copy on disk is whole.
#pragma once

#include <windows.h>
#include <cstdio>

// The platform handle under an open stream.
HANDLE HandleOf(FILE* stream);

// True when the name is a device's (COM1, nul.txt, c:\dir\prn, \\.\COM1): the platform
// turns it into a path in the device space. Asked before anything is opened, for opening a
// device can already wait or change it.
bool IsDeviceName(const char* name);

// True when the stream is a file on disk: not a device (COM1, CON, NUL, PRN...) nor a pipe,
// whose reads can wait for ever and whose writes keep nothing.
bool IsDiskFile(FILE* stream);

// True when the destination holds exactly as many bytes as the source, both sizes asked of
// the open handles (flush the destination first). False when either size cannot be had.
bool HoldsWholeCopy(FILE* source, FILE* destination);
