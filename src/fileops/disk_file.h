// Whether an open stream is a file on disk, and whether a copy on disk is whole.
#pragma once

#include <cstdio>

// True when the stream is a file on disk: not a device (COM1, CON, NUL, PRN...) nor a pipe,
// whose reads can wait for ever and whose writes keep nothing.
bool IsDiskFile(FILE* stream);

// True when the destination holds exactly as many bytes as the source, both sizes asked of
// the open handles (flush the destination first). False when either size cannot be had.
bool HoldsWholeCopy(FILE* source, FILE* destination);
