// The shell's path for a special folder, through its item list and allocator.
#include <shlobj.h>

#include "info/shell_folder_path.h"
#include "state/run_data.h"

bool GetShellFolderPath(char* buffer, int folder) {
    LPITEMIDLIST items = nullptr;
    if (SHGetSpecialFolderLocation(nullptr, folder, &items) != S_OK) return false;
    if (!items) return false;
    const bool answer = SHGetPathFromIDListA(items, buffer) != 0;
    buffer[PATH_BUFFER_SIZE - 1] = '\0';
    // Without the shell's allocator the item list cannot be released; the answer stands.
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator) {
        allocator->Free(items);
        allocator->Release();
    }
    return answer;
}
