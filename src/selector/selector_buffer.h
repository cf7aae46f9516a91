// The selector result buffer: reserving room for a selector and emptying the last result.
#pragma once

#include "state/run_data.h"

constexpr std::uint32_t SINGLE_RESULT_SIZE = PATH_BUFFER_SIZE;   // one path: single selection, save, folder
constexpr std::uint32_t MULTIPLE_RESULT_SIZE = 65000;  // a directory and a list of names

// Makes selectorBuffer hold at least size bytes: a smaller block is freed and a new one of
// exactly size bytes allocated; a large enough block is kept as it is. False when the
// allocation failed (the buffer is then null and its size 0).
bool ReserveSelectorBuffer(RunData* rd, std::uint32_t size);

// Stores NUL in the first two bytes of the buffer (no further than its recorded size),
// so that the last result reads as empty in every layout.
void EmptySelectorResult(RunData* rd);
