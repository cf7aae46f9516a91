// Copying between held files, block by block through one buffer from the local heap: as large as
// the heap gives, from 64 KiB down to 512 bytes, else a small one of the copy's own.
#pragma once

#include <windows.h>
#include <cstdint>

#include "state/run_data.h"

// The buffer of one copy: data is a block of the heap, or own when the heap gave none. It points
// into itself, so it is never copied.
struct CopyBuffer {
    char* data = nullptr;
    std::size_t size = 0;
    char own[PATH_BUFFER_SIZE];

    CopyBuffer() = default;
    CopyBuffer(const CopyBuffer&) = delete;
    CopyBuffer& operator=(const CopyBuffer&) = delete;
};

// 64 KiB, or the largest of 32, 16, 8 and 4 KiB, 2048, 1024 and 512 bytes that the local heap
// gives; when it gives none, the buffer's own 260 bytes.
void ObtainCopyBuffer(CopyBuffer& buffer);

// Gives a block of the heap back.
void ReleaseCopyBuffer(CopyBuffer& buffer);

// Copies from the source's position until it ends, reading and writing through the handles.
// True when every block read was written whole; false at the first read or write that failed or
// fell short, with the platform's error in failure (ERROR_DISK_FULL for a short write). Opens and
// closes nothing.
bool CopyBlocks(const CopyBuffer& buffer, HANDLE source, HANDLE destination, DWORD& failure);
