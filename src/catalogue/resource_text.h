// Loading the module's own texts into a host buffer without ever writing past its size.
#pragma once

#include "host/host_records.h"

// Buffer sizes reach the exports as 16-bit byte counts, terminator included.
inline std::size_t HostBufferSize(HostWord size) {
    return static_cast<std::uint16_t>(size);
}

// Loads string id into buffer; a null buffer or a size of 0 receives nothing.
void LoadResourceText(int id, char* buffer, std::size_t size);

// Makes sure the text ends inside the buffer: some platforms fill a short buffer to the
// last byte without a terminator when they cut a menu text.
void TerminateWithin(char* buffer, std::size_t size);

// Stores the empty string when the buffer has room for it.
void StoreEmptyText(char* buffer, std::size_t size);
