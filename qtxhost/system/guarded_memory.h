// Blocks that end exactly at an inaccessible page, so a read or write past the end faults.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>

// A zero-filled block of size bytes (at least 1) whose last byte is followed by a no-access page.
void* GuardedAlloc(std::size_t size);
void GuardedFree(void* block);

// A copy of text whose terminating NUL is the last accessible byte.
char* GuardedString(const std::string& text);

// Hands fill a guarded buffer of size bytes and returns the text left in it.
template <typename Fill>
std::string ReadGuardedText(std::size_t size, Fill fill) {
    auto* buffer = static_cast<char*>(GuardedAlloc(size));
    fill(buffer);
    std::string text(buffer, strnlen(buffer, size));
    GuardedFree(buffer);
    return text;
}
