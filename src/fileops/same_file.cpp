// Telling files apart by identity rather than by name, before anything is opened for writing.
#include <windows.h>
#include <share.h>

#include "fileops/disk_file.h"
#include "fileops/same_file.h"

namespace {

constexpr DWORD QUERY_ONLY = 0;   // opens no data, so it neither needs nor breaks sharing
constexpr DWORD SHARED_WITH_ALL = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr char SOURCE_MODE[] = "rb";

bool IdentityOf(HANDLE file, BY_HANDLE_FILE_INFORMATION& identity) {
    return file != INVALID_HANDLE_VALUE && GetFileInformationByHandle(file, &identity);
}

}  // namespace

FILE* OpenSource(const char* name) {
    return _fsopen(name, SOURCE_MODE, _SH_DENYWR);
}

bool IsSameFile(FILE* stream, const char* name) {
    BY_HANDLE_FILE_INFORMATION open{}, named{};
    if (!IdentityOf(HandleOf(stream), open)) return false;
    HANDLE file = CreateFileA(name, QUERY_ONLY, SHARED_WITH_ALL, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool known = IdentityOf(file, named);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return known && open.dwVolumeSerialNumber == named.dwVolumeSerialNumber &&
           open.nFileIndexHigh == named.nFileIndexHigh && open.nFileIndexLow == named.nFileIndexLow;
}

bool WasHeldBySource(const char* name, DWORD openError) {
    if (openError != ERROR_SHARING_VIOLATION) return false;
    HANDLE file = CreateFileA(name, GENERIC_WRITE, SHARED_WITH_ALL, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

bool DeleteUnlessSame(const char* doomed, const char* kept) {
    HANDLE keeper = CreateFileA(kept, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (keeper == INVALID_HANDLE_VALUE) return false;
    const bool deleted = DeleteFileA(doomed) != 0;
    CloseHandle(keeper);
    return deleted;
}
