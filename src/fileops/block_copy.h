// Copying between held files, block by block through one buffer from the local heap: as large as
// the heap gives, from 64 KiB down to 512 bytes, else workPath itself.
#pragma once

#include <windows.h>
#include <cstdint>

#include "state/run_data.h"

// The buffer of one copy. borrowed: it is workPath (the heap gave no block), whose name is then
// overwritten by the data and must be taken again from the host's parameter.
struct CopyBuffer {
    char* data = nullptr;
    std::size_t size = 0;
    bool borrowed = false;
};

// 64 KiB, or the largest of 32, 16, 8 and 4 KiB, 2048, 1024 and 512 bytes that the local heap
// gives; when it gives none, workPath with a size of 260.
CopyBuffer ObtainCopyBuffer(RunData* rd);

// Gives a buffer from the heap back; a borrowed one stays.
void ReleaseCopyBuffer(CopyBuffer& buffer);

// Copies from the source's position until it ends, reading and writing through the handles.
// True when every block read was written whole; false at the first read or write that failed or
// fell short, with the platform's error in failure (ERROR_DISK_FULL for a short write). Opens and
// closes nothing.
bool CopyBlocks(const CopyBuffer& buffer, HANDLE source, HANDLE destination, DWORD& failure);
