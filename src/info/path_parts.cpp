// The path-piece expressions and "CurrentDirectory$(": names resolved against the process's
// current directory, worked through workPath. A name longer than 259 characters gives the empty
// string: its first 259 could name another file, whose name an application would act on.
#include <direct.h>
#include <stdlib.h>
#include <cstddef>

#include "info/path_parts.h"
#include "state/host_services.h"
#include "state/path_names.h"

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

// The chosen piece of the name's absolute form, or nothing: no workPath (creation failed), no
// scratch block, a name cut by CopyPath, or one that cannot be made absolute.
void WritePathPart(RunData* rd, const char* name, PathPart part, char* result) {
    if (!rd->workPath) return;
    auto* pieces = static_cast<PathPieces*>(LocalAlloc(LPTR, sizeof(PathPieces)));
    if (!pieces) return;
    if (CopyWholePath(rd->workPath, name) && _fullpath(pieces->fullPath, rd->workPath, PATH_BUFFER_SIZE)) {
        _splitpath(pieces->fullPath, pieces->drive, pieces->directory, pieces->name, pieces->extension);
        CopyPath(result, reinterpret_cast<const char*>(pieces) + PIECE_OFFSETS[static_cast<std::size_t>(part)]);
    }
    LocalFree(pieces);
}

void WriteCurrentDirectory(RunData* rd, char* result) {
    if (!rd->workPath) return;
    if (!_getcwd(rd->workPath, PATH_BUFFER_SIZE)) return;
    CopyPath(result, rd->workPath);
}

}  // namespace

HostWord GetPathPart(RunData* rd, HostWord token, PathPart part) {
    const char* name = GetStringParameter(rd, token);
    return FillStringResult(rd, PATH_BUFFER_SIZE, [&](char* result) { WritePathPart(rd, name, part, result); });
}

extern "C" HostWord WINAPI ExpressionDriveName(RunData* rd, HostWord token) {
    return GetPathPart(rd, token, PathPart::DRIVE);
}

extern "C" HostWord WINAPI ExpressionDirectoryName(RunData* rd, HostWord token) {
    return GetPathPart(rd, token, PathPart::DIRECTORY);
}

extern "C" HostWord WINAPI ExpressionFileName(RunData* rd, HostWord token) {
    return GetPathPart(rd, token, PathPart::NAME);
}

extern "C" HostWord WINAPI ExpressionExtensionName(RunData* rd, HostWord token) {
    return GetPathPart(rd, token, PathPart::EXTENSION);
}

extern "C" HostWord WINAPI ExpressionTotalName(RunData* rd, HostWord token) {
    return GetPathPart(rd, token, PathPart::FULL);
}

extern "C" HostWord WINAPI ExpressionCurrentDirectory(RunData* rd, HostWord) {
    return FillStringResult(rd, PATH_BUFFER_SIZE, [rd](char* result) { WriteCurrentDirectory(rd, result); });
}
