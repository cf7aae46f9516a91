// The block copy behind "Append a file to a file", "Copy a file" and "Move a file".
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

}  // namespace

std::uint32_t CopyStream(RunData* rd, FILE* source, FILE* destination) {
    std::size_t size = 0;
    char* buffer = ObtainBuffer(rd, size);
    for (std::size_t got; (got = std::fread(buffer, 1, size, source)) != 0;)
        if (std::fwrite(buffer, 1, got, destination) < got) break;
    // The last block may still wait in the stream's own buffer: written out now, a block the
    // disk has no room for sets the indicator here rather than vanishing at the close.
    std::fflush(destination);
    // Only the two error indicators count, not what ended the loop; the end of the source is no error.
    std::uint32_t result = 0;
    if (std::ferror(source))
        result = ERROR_CODE_STREAM;
    else if (std::ferror(destination))
        result = ERROR_CODE_STREAM;
    if (buffer != rd->workPath) LocalFree(buffer);
    return result;
}
