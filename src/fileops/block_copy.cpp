// The copy loop and its buffer. A larger block costs the platform fewer calls: 64 KiB blocks copy
// several times faster than 4096-byte ones, and the heap that refuses them still gives smaller ones.
#include "fileops/block_copy.h"

namespace {

constexpr std::size_t LARGEST_BUFFER = 64 * 1024;

// One block read and written; false with the platform's error when either fails or falls short.
// done is set at the end of the source.
bool MoveBlock(HANDLE source, HANDLE destination, const CopyBuffer& buffer, bool& done, DWORD& failure) {
    DWORD got = 0;
    if (!ReadFile(source, buffer.data, static_cast<DWORD>(buffer.size), &got, nullptr)) {
        failure = GetLastError();
        return false;
    }
    done = got == 0;
    if (done) return true;
    DWORD put = 0;
    if (!WriteFile(destination, buffer.data, got, &put, nullptr)) {
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

void ObtainCopyBuffer(CopyBuffer& buffer) {
    for (std::size_t size = LARGEST_BUFFER; size > sizeof buffer.own; size /= 2) {
        if (auto* data = static_cast<char*>(LocalAlloc(LPTR, size))) {
            buffer.data = data;
            buffer.size = size;
            return;
        }
    }
    buffer.data = buffer.own;
    buffer.size = sizeof buffer.own;
}

void ReleaseCopyBuffer(CopyBuffer& buffer) {
    if (buffer.data && buffer.data != buffer.own) LocalFree(buffer.data);
    buffer.data = nullptr;
    buffer.size = 0;
}

bool CopyBlocks(const CopyBuffer& buffer, HANDLE source, HANDLE destination, DWORD& failure) {
    bool done = false, good = true;
    while (good && !done) good = MoveBlock(source, destination, buffer, done, failure);
    return good;
}
