#include "system/scratch_directory.h"

#include <windows.h>
#include <direct.h>

namespace {

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string child = path + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

}  // namespace

std::string EnterScratchDirectory() {
    char base[MAX_PATH] = "";
    if (!GetTempPathA(MAX_PATH, base)) return "";
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const std::string path = std::string(base) + "qtxhost-" + std::to_string(GetCurrentProcessId()) + "-" +
                                 std::to_string(GetTickCount() + attempt);
        if (CreateDirectoryA(path.c_str(), nullptr)) return _chdir(path.c_str()) == 0 ? path : "";
    }
    return "";
}

void LeaveScratchDirectory(const std::string& path) {
    _chdir((path + "\\..").c_str());
    RemoveTree(path);
}
