// Sizes and positions past 32 bits through the calls every Windows the module is made for has
// (Windows 95 and NT 4.0 have GetFileSize and SetFilePointer, not their ...Ex forms).
#pragma once

#include <windows.h>
#include <cstdint>

// A size the platform gives as two 32-bit words.
constexpr std::int64_t JoinedSize(DWORD high, DWORD low) {
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(high) << 32 | low);
}

// The size of the file under an open handle; false when it cannot be had.
bool HandleFileSize(HANDLE file, std::int64_t& size);

// The position of an open handle in its file; false when it cannot be had.
bool HandlePosition(HANDLE file, std::int64_t& position);

// Moves an open handle to the end of its file, however long; false when it cannot.
bool WindToEnd(HANDLE file);
