// Telling files on disk from devices by what the open handle is, not by its name: a device
// has many names (COM1, "nul.txt", "c:\dir\nul", "\\.\COM1") and a unix device can sit in a
// drive of its own.
#include <windows.h>
#include <io.h>

#include "fileops/disk_file.h"

namespace {

HANDLE HandleOf(FILE* stream) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
}

bool SizeOf(FILE* stream, LARGE_INTEGER& size) {
    return GetFileSizeEx(HandleOf(stream), &size) != 0;
}

}  // namespace

bool IsDiskFile(FILE* stream) {
    return GetFileType(HandleOf(stream)) == FILE_TYPE_DISK;
}

bool HoldsWholeCopy(FILE* source, FILE* destination) {
    LARGE_INTEGER sourceSize{}, destinationSize{};
    if (!SizeOf(source, sourceSize) || !SizeOf(destination, destinationSize)) return false;
    return sourceSize.QuadPart == destinationSize.QuadPart;
}
