// Telling files on disk from devices: by the path the platform makes of a name, before anything
// is opened (a device has many names), and by what the open handle is (a unix device can sit in
// a drive under an ordinary name).
#include <windows.h>
#include <io.h>
#include <cstring>

#include "fileops/disk_file.h"
#include "state/file_size.h"
#include "state/run_data.h"

namespace {

constexpr char DEVICE_SPACE[] = "\\\\.\\";   // \\.\ begins every device path

}  // namespace

HANDLE HandleOf(FILE* stream) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
}

bool IsDeviceName(const char* name) {
    char full[PATH_BUFFER_SIZE];
    const DWORD length = GetFullPathNameA(name, sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full) return false;   // no device path is that long
    return std::strncmp(full, DEVICE_SPACE, sizeof DEVICE_SPACE - 1) == 0;
}

bool IsDiskFile(FILE* stream) {
    return GetFileType(HandleOf(stream)) == FILE_TYPE_DISK;
}

bool HoldsWholeCopy(FILE* source, FILE* destination) {
    std::int64_t sourceSize = 0, destinationSize = 0;
    if (!HandleFileSize(HandleOf(source), sourceSize) || !HandleFileSize(HandleOf(destination), destinationSize))
        return false;
    return sourceSize == destinationSize;
}
