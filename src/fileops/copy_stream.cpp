// The block copy behind "Append a file to a file", "Copy a file", "Move a file" and a rename
// between volumes.
#include "fileops/copy_stream.h"
#include "state/last_error.h"

namespace {

constexpr std::size_t LARGEST_BUFFER = 4096;

// 4096 bytes, or the largest of 2048, 1024 and 512 the local heap gives. When it gives none,
// workPath serves (the destination name it holds is no longer needed) and is not released.
char* ObtainBuffer(RunData* rd, std::size_t& size) {
    size = LARGEST_BUFFER;
    for (;;) {
        if (auto* buffer = static_cast<char*>(LocalAlloc(LPTR, size))) return buffer;
        size /= 2;
        if (size <= PATH_BUFFER_SIZE) break;
    }
    size = PATH_BUFFER_SIZE;
    return rd->workPath;
}

// One block read and written; false with the platform's error when either fails or falls short.
// done is set at the end of the source.
bool MoveBlock(HANDLE source, HANDLE destination, char* buffer, std::size_t size, bool& done, DWORD& failure) {
    DWORD got = 0;
    if (!ReadFile(source, buffer, static_cast<DWORD>(size), &got, nullptr)) {
        failure = GetLastError();
        return false;
    }
    done = got == 0;
    if (done) return true;
    DWORD put = 0;
    if (!WriteFile(destination, buffer, got, &put, nullptr)) {
        failure = GetLastError();
        return false;
    }
    if (put < got) {
        failure = ERROR_DISK_FULL;
        return false;
    }
    return true;
}

}  // namespace

bool CopyBlocks(RunData* rd, HANDLE source, HANDLE destination, DWORD& failure) {
    std::size_t size = 0;
    char* buffer = ObtainBuffer(rd, size);
    bool done = false, good = true;
    while (good && !done) good = MoveBlock(source, destination, buffer, size, done, failure);
    if (buffer != rd->workPath) LocalFree(buffer);
    return good;
}

std::uint32_t CopyStream(RunData* rd, HANDLE source, HANDLE destination) {
    DWORD failure = NO_ERROR;
    return CopyBlocks(rd, source, destination, failure) ? 0 : ERROR_CODE_STREAM;
}
