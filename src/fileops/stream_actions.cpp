// Appending and copying files through streams, moving them, and appending text.
#include <cstdio>
#include <cstring>

#include "fileops/copy_stream.h"
#include "fileops/disk_file.h"
#include "fileops/file_actions.h"
#include "fileops/same_file.h"
#include "fileops/whole_name.h"
#include "state/host_services.h"
#include "state/last_error.h"

namespace {

constexpr char APPEND_MODE[] = "a+b";   // data goes at the end; a missing file is created
constexpr char REPLACE_MODE[] = "wb";   // the file is created or emptied

enum class TransferKind { APPEND, COPY, MOVE };

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

// Refuses, with 19, a destination that could keep a write waiting for ever (a pipe, a FIFO, a
// port, the console). The null device never waits: copies and appends may go there, but a
// move may not, as it would delete a file whose bytes went nowhere.
bool DestinationMayBeWritten(const char* destination, TransferKind kind) {
    const NameTarget target = TargetOf(destination);
    return target == NameTarget::DISK_FILE || (target == NameTarget::NULL_DEVICE && kind != TransferKind::MOVE);
}

// A transfer refused with the source already open: the code is stored, the source closed.
Landing Abandon(RunData* rd, FILE* in, std::uint32_t code) {
    rd->lastError = code;
    std::fclose(in);
    return Landing::FAILED;
}

// Source, then destination, both through workPath; the copy's outcome becomes lastError.
// Both names must fit workPath whole. A source that is no file on disk is refused before a
// byte is read, by its name before it is opened and by its handle after (a device can keep a
// read waiting for ever); so is a destination that could keep a write waiting. The source is
// open with writing denied to others, so a destination that is the source itself, under any
// name, cannot be opened for writing: that is refused with 16, and nothing is emptied or
// appended to itself without end.
Landing TransferFile(RunData* rd, HostWord source, HostWord destination, TransferKind kind) {
    if (!ActionMayRun(rd)) return Landing::FAILED;
    if (!NameIsWhole(rd, destination) || !TakeWholeName(rd, rd->workPath, source)) return Landing::FAILED;
    if (TargetOf(rd->workPath) != NameTarget::DISK_FILE) {
        rd->lastError = ERROR_CODE_NO_DEVICE;
        return Landing::FAILED;
    }
    FILE* in = OpenSource(rd->workPath);
    if (!in) {
        StoreErrno(rd);
        return Landing::FAILED;
    }
    if (!IsDiskFile(in)) return Abandon(rd, in, ERROR_CODE_NO_DEVICE);
    CopyPath(rd->workPath, TextParameter(destination));
    if (!DestinationMayBeWritten(rd->workPath, kind)) return Abandon(rd, in, ERROR_CODE_NO_DEVICE);
    if (IsSameFile(in, rd->workPath)) return Abandon(rd, in, ERROR_CODE_SAME_FILE);
    FILE* out = std::fopen(rd->workPath, kind == TransferKind::APPEND ? APPEND_MODE : REPLACE_MODE);
    if (!out) {
        const DWORD openError = GetLastError();
        StoreErrno(rd);
        std::fclose(in);
        if (WasHeldBySource(rd->workPath, openError)) rd->lastError = ERROR_CODE_SAME_FILE;
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
    TransferFile(rd, source, destination, TransferKind::APPEND);
    return 0;
}

extern "C" HostWord WINAPI ActionCopyFile(RunData* rd, HostWord source, HostWord destination) {
    TransferFile(rd, source, destination, TransferKind::COPY);
    return 0;
}

// Always a copy, then the deletion of the source, never a rename: so it works between drives.
// The source goes only when its copy is a whole file on disk; a copy to a device (19) or one
// that is not whole (32) deletes nothing. A failed deletion leaves the copy beside the source,
// also one the file system refuses after the runtime reported it done (13).
extern "C" HostWord WINAPI ActionMoveFile(RunData* rd, HostWord source, HostWord destination) {
    switch (TransferFile(rd, source, destination, TransferKind::MOVE)) {
        case Landing::FAILED:
            return 0;
        case Landing::ON_DEVICE:
            rd->lastError = ERROR_CODE_NO_DEVICE;
            return 0;
        case Landing::INCOMPLETE:
            rd->lastError = ERROR_CODE_STREAM;
            return 0;
        case Landing::WHOLE:
            break;
    }
    return ActionDeleteFile(rd, source, 0);
}

// The text's characters, cut to 259 (a text, not a name), with no terminator and no line end.
// The stream is flushed before its indicator is read, so a full disk shows as 32. A destination
// that could keep the write waiting is refused with 19, as for the file transfers.
extern "C" HostWord WINAPI ActionAppendText(RunData* rd, HostWord text, HostWord destination) {
    if (!ActionMayRun(rd)) return 0;
    if (!TakeWholeName(rd, rd->workPath, destination)) return 0;
    if (!DestinationMayBeWritten(rd->workPath, TransferKind::APPEND)) {
        rd->lastError = ERROR_CODE_NO_DEVICE;
        return 0;
    }
    FILE* out = std::fopen(rd->workPath, APPEND_MODE);
    if (!out) {
        StoreErrno(rd);
        return 0;
    }
    CopyPath(rd->workPath, TextParameter(text));
    std::fwrite(rd->workPath, 1, std::strlen(rd->workPath), out);
    std::fflush(out);
    rd->lastError = std::ferror(out) ? ERROR_CODE_STREAM : 0;
    std::fclose(out);
    return 0;
}
