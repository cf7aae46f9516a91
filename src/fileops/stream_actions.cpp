// Appending and copying files through streams, moving them, and appending text.
#include <cstdio>
#include <cstring>

#include "fileops/copy_stream.h"
#include "fileops/file_actions.h"
#include "fileops/same_file.h"
#include "fileops/sticky_error.h"

namespace {

constexpr char READ_MODE[] = "rb";
constexpr char APPEND_MODE[] = "a+b";   // data goes at the end; a missing file is created
constexpr char REPLACE_MODE[] = "wb";   // the file is created or emptied

// Source, then destination, both through workPath; the copy's outcome becomes lastError. A
// destination that is the source itself is refused before it is opened, so the file is
// neither emptied nor appended to itself without end.
void TransferFile(RunData* rd, HostWord source, HostWord destination, const char* mode) {
    if (!ActionMayRun(rd)) return;
    CopyPath(rd->workPath, TextParameter(source));
    FILE* in = std::fopen(rd->workPath, READ_MODE);
    if (!in) {
        StoreErrno(rd);
        return;
    }
    CopyPath(rd->workPath, TextParameter(destination));
    if (IsSameFile(in, rd->workPath)) {
        rd->lastError = ERROR_CODE_SAME_FILE;
        std::fclose(in);
        return;
    }
    FILE* out = std::fopen(rd->workPath, mode);
    if (!out) {
        StoreErrno(rd);
        std::fclose(in);
        return;
    }
    rd->lastError = CopyStream(rd, in, out);
    std::fclose(out);
    std::fclose(in);
}

}  // namespace

extern "C" HostWord WINAPI ActionAppendFile(RunData* rd, HostWord source, HostWord destination) {
    TransferFile(rd, source, destination, APPEND_MODE);
    return 0;
}

extern "C" HostWord WINAPI ActionCopyFile(RunData* rd, HostWord source, HostWord destination) {
    TransferFile(rd, source, destination, REPLACE_MODE);
    return 0;
}

// Always a copy, then the deletion of the source, never a rename: so it works between drives.
// A failed copy deletes nothing; a failed deletion leaves the copy beside the source.
extern "C" HostWord WINAPI ActionMoveFile(RunData* rd, HostWord source, HostWord destination) {
    if (!ActionMayRun(rd)) return 0;
    ActionCopyFile(rd, source, destination);
    if (rd->lastError != 0) return 0;
    return ActionDeleteFile(rd, source, 0);
}

// The text's characters, cut to 259 like a name, with no terminator and no line end.
extern "C" HostWord WINAPI ActionAppendText(RunData* rd, HostWord text, HostWord destination) {
    if (!ActionMayRun(rd)) return 0;
    CopyPath(rd->workPath, TextParameter(destination));
    FILE* out = std::fopen(rd->workPath, APPEND_MODE);
    if (!out) {
        StoreErrno(rd);
        return 0;
    }
    CopyPath(rd->workPath, TextParameter(text));
    std::fwrite(rd->workPath, 1, std::strlen(rd->workPath), out);
    rd->lastError = std::ferror(out) ? STREAM_ERROR : 0;
    std::fclose(out);
    return 0;
}
