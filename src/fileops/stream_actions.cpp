// Appending and copying files through streams, moving them, and appending text.
#include <cstdio>
#include <cstring>

#include "fileops/copy_stream.h"
#include "fileops/disk_file.h"
#include "fileops/file_actions.h"
#include "fileops/same_file.h"
#include "fileops/sticky_error.h"
#include "fileops/whole_name.h"

namespace {

constexpr char READ_MODE[] = "rb";
constexpr char APPEND_MODE[] = "a+b";   // data goes at the end; a missing file is created
constexpr char REPLACE_MODE[] = "wb";   // the file is created or emptied

// Where a copy's bytes ended up, for "Move a file" to judge whether the source may go.
enum class Landing {
    FAILED,       // the copy failed; lastError says why
    ON_DEVICE,    // copied without error to a device, which keeps nothing
    INCOMPLETE,   // copied without error, but the file's close failed or its size differs
    WHOLE,        // a file on disk, flushed and closed, as long as the source
};

// What a finished copy left, asked of both streams while they are open. The destination has
// been flushed, so its size on disk is final.
Landing JudgeCopy(const RunData* rd, FILE* in, FILE* out) {
    if (rd->lastError != 0) return Landing::FAILED;
    if (!IsDiskFile(out)) return Landing::ON_DEVICE;
    if (!HoldsWholeCopy(in, out)) return Landing::INCOMPLETE;
    return Landing::WHOLE;
}

// Source, then destination, both through workPath; the copy's outcome becomes lastError.
// Both names must fit workPath whole. A source that is no file on disk is refused before a
// byte is read, by its name before it is opened and by its handle after (a device can keep a
// read waiting for ever), and a destination that is the source itself before it is opened (it
// would be emptied or appended to itself without end).
Landing TransferFile(RunData* rd, HostWord source, HostWord destination, const char* mode) {
    if (!ActionMayRun(rd)) return Landing::FAILED;
    if (!TakeWholeName(rd, rd->workPath, destination) || !TakeWholeName(rd, rd->workPath, source))
        return Landing::FAILED;
    if (IsDeviceName(rd->workPath)) {
        rd->lastError = ERROR_CODE_NO_DEVICE;
        return Landing::FAILED;
    }
    FILE* in = std::fopen(rd->workPath, READ_MODE);
    if (!in) {
        StoreErrno(rd);
        return Landing::FAILED;
    }
    if (!IsDiskFile(in)) {
        rd->lastError = ERROR_CODE_NO_DEVICE;
        std::fclose(in);
        return Landing::FAILED;
    }
    CopyPath(rd->workPath, TextParameter(destination));
    if (IsSameFile(in, rd->workPath)) {
        rd->lastError = ERROR_CODE_SAME_FILE;
        std::fclose(in);
        return Landing::FAILED;
    }
    FILE* out = std::fopen(rd->workPath, mode);
    if (!out) {
        StoreErrno(rd);
        std::fclose(in);
        return Landing::FAILED;
    }
    rd->lastError = CopyStream(rd, in, out);
    Landing landing = JudgeCopy(rd, in, out);
    if (std::fclose(out) != 0 && landing == Landing::WHOLE) landing = Landing::INCOMPLETE;
    std::fclose(in);
    return landing;
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
// The source goes only when its copy is a whole file on disk; a copy to a device (19) or one
// that is not whole (32) deletes nothing. A failed deletion leaves the copy beside the source.
extern "C" HostWord WINAPI ActionMoveFile(RunData* rd, HostWord source, HostWord destination) {
    switch (TransferFile(rd, source, destination, REPLACE_MODE)) {
        case Landing::FAILED:
            return 0;
        case Landing::ON_DEVICE:
            rd->lastError = ERROR_CODE_NO_DEVICE;
            return 0;
        case Landing::INCOMPLETE:
            rd->lastError = STREAM_ERROR;
            return 0;
        case Landing::WHOLE:
            break;
    }
    return ActionDeleteFile(rd, source, 0);
}

// The text's characters, cut to 259 (a text, not a name), with no terminator and no line end.
// The stream is flushed before its indicator is read, so a full disk shows as 32.
extern "C" HostWord WINAPI ActionAppendText(RunData* rd, HostWord text, HostWord destination) {
    if (!ActionMayRun(rd)) return 0;
    if (!TakeWholeName(rd, rd->workPath, destination)) return 0;
    FILE* out = std::fopen(rd->workPath, APPEND_MODE);
    if (!out) {
        StoreErrno(rd);
        return 0;
    }
    CopyPath(rd->workPath, TextParameter(text));
    std::fwrite(rd->workPath, 1, std::strlen(rd->workPath), out);
    std::fflush(out);
    rd->lastError = std::ferror(out) ? STREAM_ERROR : 0;
    std::fclose(out);
    return 0;
}
