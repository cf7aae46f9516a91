// The path-piece expressions and "CurrentDirectory$(": names resolved against the process's
// current directory, worked through workPath. A name longer than 259 characters gives the empty
// string: its first 259 could name another file, whose name an application would act on.
#include <direct.h>
#include <stdlib.h>
#include <cstddef>

#include "host/host_services.h"
#include "info/path_names.h"

namespace {

// The pieces of one absolute path, one zero-filled scratch block from the local heap.
struct PathPieces {
    char drive[_MAX_DRIVE];
    char directory[_MAX_DIR];
    char name[_MAX_FNAME];
    char extension[_MAX_EXT];
    char fullPath[PATH_BUFFER_SIZE];
};
static_assert(sizeof(PathPieces) == 3 + 256 + 256 + 256 + 260);

// Where each PathPart stands in the block.
constexpr std::size_t PIECE_OFFSETS[] = {
    offsetof(PathPieces, drive), offsetof(PathPieces, directory), offsetof(PathPieces, name),
    offsetof(PathPieces, extension), offsetof(PathPieces, fullPath),
};

}  // namespace

HostWord GetPathPart(RunData* rd, HostWord token, PathPart part) {
    const char* name = GetStringParameter(rd, token);
    char* result = EmptyResult(rd, PATH_BUFFER_SIZE);
    if (!result) return StringResult(rd, nullptr);
    if (!rd->workPath) return StringResult(rd, result);   // creation failed: no buffer to work in
    auto* pieces = static_cast<PathPieces*>(LocalAlloc(LPTR, sizeof(PathPieces)));
    if (!pieces) return StringResult(rd, result);
    if (!CopyWholePath(rd->workPath, name) || !_fullpath(pieces->fullPath, rd->workPath, PATH_BUFFER_SIZE)) {
        LocalFree(pieces);
        return StringResult(rd, result);
    }
    _splitpath(pieces->fullPath, pieces->drive, pieces->directory, pieces->name, pieces->extension);
    CopyPath(result, reinterpret_cast<const char*>(pieces) + PIECE_OFFSETS[part]);
    LocalFree(pieces);
    return StringResult(rd, result);
}

extern "C" HostWord WINAPI ExpressionDriveName(RunData* rd, HostWord token) {
    return GetPathPart(rd, token, PATH_DRIVE);
}

extern "C" HostWord WINAPI ExpressionDirectoryName(RunData* rd, HostWord token) {
    return GetPathPart(rd, token, PATH_DIRECTORY);
}

extern "C" HostWord WINAPI ExpressionFileName(RunData* rd, HostWord token) {
    return GetPathPart(rd, token, PATH_NAME);
}

extern "C" HostWord WINAPI ExpressionExtensionName(RunData* rd, HostWord token) {
    return GetPathPart(rd, token, PATH_EXTENSION);
}

extern "C" HostWord WINAPI ExpressionTotalName(RunData* rd, HostWord token) {
    return GetPathPart(rd, token, PATH_FULL);
}

extern "C" HostWord WINAPI ExpressionCurrentDirectory(RunData* rd, HostWord) {
    char* result = EmptyResult(rd, PATH_BUFFER_SIZE);
    if (!result) return StringResult(rd, nullptr);
    if (!rd->workPath) return StringResult(rd, result);
    if (!_getcwd(rd->workPath, PATH_BUFFER_SIZE)) return StringResult(rd, result);
    CopyPath(result, rd->workPath);
    return StringResult(rd, result);
}
