// The shell's path for a special folder. Kept in a file of its own so that a test build can
// put a lookup of its own in its place.
#include <shlobj.h>

#include "info/known_directories.h"

int GetShellFolderPath(char* buffer, int folder) {
    LPITEMIDLIST items = nullptr;
    if (SHGetSpecialFolderLocation(nullptr, folder, &items) != S_OK) return 0;
    if (!items) return 0;
    const int answer = SHGetPathFromIDListA(items, buffer) ? 1 : 0;
    buffer[PATH_BUFFER_SIZE - 1] = '\0';
    // Without the shell's allocator the item list cannot be released; the answer stands.
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator) {
        allocator->Free(items);
        allocator->Release();
    }
    return answer;
}
