// Appending, copying and moving files, and appending text: each file is held from its first check
// to the end of the action, with other writers kept out, and every check is asked of the handle
// the action then reads, writes or deletes through. A destination's name never leads to a file
// cut short: a new file is written beside it and given the name once whole, an existing one is
// replaced by such a file in one step, and what is written in place is put back when it fails.
#include <cstring>

#include "fileops/beside_files.h"
#include "fileops/block_copy.h"
#include "fileops/deletions.h"
#include "fileops/file_names.h"
#include "fileops/held_files.h"
#include "fileops/transfer_actions.h"
#include "state/file_handles.h"
#include "state/host_services.h"
#include "state/last_error.h"
#include "state/windows_errors.h"

namespace {

enum class TransferKind { APPEND, COPY, MOVE };

// How the destination is written.
enum class Plan {
    NEW_NAME,   // no file has the name: a new file, given the name once written
    SWAP,       // an existing file: a new one written beside it takes its place
    IN_PLACE,   // an existing file, written through its own handle
    DEVICE,     // the null device, which keeps nothing
};

// One transfer, from its source held to its destination written.
struct Transfer {
    RunData* rd = nullptr;
    TransferKind kind = TransferKind::COPY;
    HANDLE in = INVALID_HANDLE_VALUE;
    HANDLE out = INVALID_HANDLE_VALUE;   // the existing destination, or the null device
    FileFacts old;                       // the existing destination's
    std::int64_t sourceSize = 0;
    bool deletable = true;               // whether the existing destination may be replaced
    Plan plan = Plan::NEW_NAME;
    CopyBuffer buffer;
};

// Closes a handle when one is held.
void LetGo(HANDLE& held) {
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    held = INVALID_HANDLE_VALUE;
}

// A destination's name that could keep a write waiting for ever (a pipe, a port, the console) is
// refused before it is opened. The null device never waits: copies and appends may go there, but
// a move may not, as it would delete a file whose bytes went nowhere.
bool NameMayBeWritten(NameTarget target, TransferKind kind) {
    return target == NameTarget::DISK_FILE || (target == NameTarget::NULL_DEVICE && kind != TransferKind::MOVE);
}

// The source, named in workPath. A device's name is refused before anything is opened (a read from
// a port can wait for ever); a FIFO or unix device, by the handle held.
Outcome HoldTransferSource(Transfer& t) {
    if (TargetOfName(t.rd->workPath) != NameTarget::DISK_FILE) return ERROR_CODE_NO_DEVICE;
    Outcome outcome = DONE;
    t.in = HoldDiskSource(t.rd->workPath, t.kind == TransferKind::MOVE ? SourceUse::READ_AND_DELETE : SourceUse::READ, outcome);
    return outcome;
}

// A destination that could not be opened with access. The source denies writers, so the source
// itself, under any name (another drive root, a hard link, an 8.3 name), cannot be opened for
// writing: the platform tells that by the handle held, where volume numbers and file indexes can
// mislead (Wine numbers each drive root apart; two FAT volumes can repeat an index). That is 16;
// another program holding the destination, for writing or without letting others delete it, 13.
Outcome RefusedDestination(Transfer& t, DWORD access, DWORD openError) {
    LetGo(t.in);
    if (WasHeldBySource(t.rd->workPath, access, openError)) return ERROR_CODE_SAME_FILE;
    return RuntimeErrnoOf(openError);
}

// The existing destination, held for reading and writing and, where the platform allows, for its
// replacement; a file that may be written but not deleted is held without it, to be written in
// place. ERROR_FILE_NOT_FOUND when no file has the name.
DWORD OpenExistingDestination(Transfer& t, DWORD& access) {
    access = WithDeletion(GENERIC_READ | GENERIC_WRITE);
    t.out = HoldExisting(t.rd->workPath, access);
    if (t.out == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED && access != (GENERIC_READ | GENERIC_WRITE)) {
        access = GENERIC_READ | GENERIC_WRITE;
        t.deletable = false;
        t.out = HoldExisting(t.rd->workPath, access);
    }
    return t.out == INVALID_HANDLE_VALUE ? GetLastError() : NO_ERROR;
}

// Another name of the file (a hard link) would keep the old content after a swap, so such a file
// is written in place, as one that may not be deleted is. An append of one block is written in
// place in one write, and cut back if that fails.
Plan PlanForExisting(const Transfer& t) {
    if (!t.deletable || t.old.links > 1) return Plan::IN_PLACE;
    if (t.kind == TransferKind::APPEND && t.sourceSize <= static_cast<std::int64_t>(t.buffer.size)) return Plan::IN_PLACE;
    return Plan::SWAP;
}

// The destination named in workPath, after the source is held: what it is, and how it is written.
// Nothing in it changes here; on a refusal, everything held is let go.
Outcome HoldTransferDestination(Transfer& t) {
    const NameTarget target = TargetOfName(t.rd->workPath);
    if (!NameMayBeWritten(target, t.kind)) return ERROR_CODE_NO_DEVICE;
    if (target == NameTarget::NULL_DEVICE) {
        t.plan = Plan::DEVICE;
        t.out = HoldDestination(t.rd->workPath);
        return t.out == INVALID_HANDLE_VALUE ? RuntimeErrnoOf(GetLastError()) : DONE;
    }
    if (!HandleFileSize(t.in, t.sourceSize)) return RuntimeErrnoOf(GetLastError());
    DWORD access = 0;
    const DWORD error = OpenExistingDestination(t, access);
    if (error == ERROR_FILE_NOT_FOUND) return DONE;   // a new name
    if (error != NO_ERROR) return RefusedDestination(t, access, error);
    // A FIFO or a unix or block device has an ordinary name, and shows only in its handle.
    if (!IsRegularFile(t.out) || !FactsOf(t.out, t.old)) return ERROR_CODE_NO_DEVICE;
    t.plan = PlanForExisting(t);
    return DONE;
}

// Copies the source, after the old content for an append, into the file made for the destination.
// What replaces a file, and a move's copy, is flushed: on disk before anything is replaced or
// deleted. A move's copy must hold as many bytes as it should.
Outcome FillBesideFile(Transfer& t, BesideFile& beside, std::int64_t expected) {
    DWORD failure = NO_ERROR;
    const bool appendsOld = t.kind == TransferKind::APPEND && t.plan == Plan::SWAP;
    if (appendsOld && !CopyBlocks(t.buffer, t.out, beside.held, failure)) return ERROR_CODE_WRITE_FAILED;
    if (!CopyBlocks(t.buffer, t.in, beside.held, failure)) return ERROR_CODE_WRITE_FAILED;
    if (t.plan == Plan::SWAP) SetFileTime(beside.held, &t.old.created, nullptr, nullptr);   // as a replacement keeps it
    const bool flush = t.kind == TransferKind::MOVE || t.plan == Plan::SWAP;
    if (flush && !FlushFileBuffers(beside.held)) return ERROR_CODE_WRITE_FAILED;
    std::int64_t size = 0;
    if (t.kind == TransferKind::MOVE && !(HandleFileSize(beside.held, size) && size == expected)) return ERROR_CODE_WRITE_FAILED;
    return DONE;
}

// The existing destination in place. An append that fails is cut back to its old length; a copy
// cannot be put back (its old content is gone: the reason the other plans exist), so it starts
// only once the drive is known to have room. A move's copy is flushed before its source goes.
Outcome WriteInPlace(Transfer& t) {
    const bool append = t.kind == TransferKind::APPEND;
    const std::int64_t oldSize = t.old.size;
    if (!append && !RoomFor(t.out, t.rd->workPath, t.sourceSize - oldSize)) return ERROR_CODE_NO_ROOM;
    const bool prepared = append ? WindToEnd(t.out) : (oldSize == 0 || SetEndOfFile(t.out) != 0);
    if (!prepared) return RuntimeErrnoOf(GetLastError());
    DWORD failure = NO_ERROR;
    if (!CopyBlocks(t.buffer, t.in, t.out, failure)) {
        if (append) EndFileAt(t.out, oldSize);
        return ERROR_CODE_WRITE_FAILED;
    }
    if (t.kind != TransferKind::MOVE) return DONE;
    if (!FlushFileBuffers(t.out) || !HoldsWholeCopy(t.in, t.out)) return ERROR_CODE_WRITE_FAILED;
    HANDLE out = t.out;
    t.out = INVALID_HANDLE_VALUE;
    return CloseHandle(out) ? DONE : ERROR_CODE_WRITE_FAILED;
}

// An existing destination replaced in one step by a file written beside it, on a drive with room
// for both. Where no file can be made beside it (a folder the user may not write, no name of the
// pattern that fits), it is written in place.
Outcome WriteSwap(Transfer& t) {
    const std::int64_t expected = t.sourceSize + (t.kind == TransferKind::APPEND ? t.old.size : 0);
    if (!RoomFor(t.out, t.rd->workPath, expected)) return ERROR_CODE_NO_ROOM;
    BesideFile beside;
    if (!MakeBesideFile(t.rd->workPath, KeptAttributes(t.old.attributes), BesidePlace::BESIDE_ONLY, beside)) {
        const DWORD error = GetLastError();
        if (error != ERROR_ACCESS_DENIED && error != ERROR_FILENAME_EXCED_RANGE) return RuntimeErrnoOf(error);
        t.plan = Plan::IN_PLACE;
        return WriteInPlace(t);
    }
    Outcome outcome = FillBesideFile(t, beside, expected);
    LetGo(t.out);
    // The old file could not be given up (another program took it meanwhile): as for a deletion
    // refused, 13.
    if (outcome == DONE && !SwapIntoPlace(beside, t.rd->workPath, t.old.identity)) outcome = ERROR_CODE_NOT_REMOVED;
    if (outcome != DONE) DiscardBesideFile(beside);
    return outcome;
}

// A new name: a file made beside it (or under it, when no name of the pattern fits) is given the
// name once written, never replacing a file another program put there meanwhile (17).
Outcome WriteNewName(Transfer& t) {
    BesideFile beside;
    if (!MakeBesideFile(t.rd->workPath, FILE_ATTRIBUTE_NORMAL, BesidePlace::DESTINATION_TOO, beside)) {
        const DWORD error = GetLastError();
        return IsTaken(error) ? ERROR_CODE_EXISTS : RuntimeErrnoOf(error);
    }
    Outcome outcome = FillBesideFile(t, beside, t.sourceSize);
    if (outcome == DONE && !PutInPlace(beside, t.rd->workPath)) {
        const DWORD error = GetLastError();
        outcome = IsTaken(error) ? ERROR_CODE_EXISTS : RuntimeErrnoOf(error);
    }
    if (outcome != DONE) DiscardBesideFile(beside);
    return outcome;
}

Outcome WriteToDevice(Transfer& t) {
    DWORD failure = NO_ERROR;
    return CopyBlocks(t.buffer, t.in, t.out, failure) ? DONE : ERROR_CODE_WRITE_FAILED;
}

Outcome WriteDestination(Transfer& t) {
    switch (t.plan) {
        case Plan::NEW_NAME: return WriteNewName(t);
        case Plan::SWAP: return WriteSwap(t);
        case Plan::IN_PLACE: return WriteInPlace(t);
        case Plan::DEVICE: return WriteToDevice(t);
    }
    return DONE;
}

// A move deletes the source it copied, through the handle that kept every writer out from before
// the copy: no byte added since can be lost, and no file put at its name since can be hit. It goes
// only once its copy is whole and on disk under the destination's name; a deletion refused, also
// one the file system refuses after the handle closed (the name still leads to that file), stores
// 13 and leaves the copy beside the source.
Outcome DeleteMovedSource(Transfer& t, HostWord source) {
    BY_HANDLE_FILE_INFORMATION information{};
    const bool known = InformationOf(t.in, information);
    const FileIdentity identity = IdentityOf(information);
    CopyPath(t.rd->workPath, TextParameter(source));
    HANDLE in = t.in;
    t.in = INVALID_HANDLE_VALUE;
    return DeleteAndLetGo(in, t.rd->workPath, known ? &identity : nullptr) ? DONE : ERROR_CODE_NOT_REMOVED;
}

// Source, then destination, both held until the end; the outcome becomes lastError. Both names
// must fit workPath whole.
void TransferFile(RunData* rd, HostWord source, HostWord destination, TransferKind kind) {
    if (!ActionMayRun(rd)) return;
    if (!NameIsWhole(rd, destination)) return;
    Transfer t;
    t.rd = rd;
    t.kind = kind;
    if (!TakeWholeName(rd, rd->workPath, source)) return;
    const Outcome held = HoldTransferSource(t);
    if (held != DONE) {
        StoreOutcome(rd, held);
        return;
    }
    CopyPath(rd->workPath, TextParameter(destination));
    ObtainCopyBuffer(t.buffer);
    Outcome outcome = HoldTransferDestination(t);
    if (outcome == DONE) outcome = WriteDestination(t);
    ReleaseCopyBuffer(t.buffer);
    LetGo(t.out);
    if (outcome == DONE && kind == TransferKind::MOVE) outcome = DeleteMovedSource(t, source);
    LetGo(t.in);
    StoreOutcome(rd, outcome);
}

// The held destination of "Append text to a file", named in workPath: a file on disk, or the null
// device its name promised. INVALID_HANDLE_VALUE with the code in outcome otherwise.
HANDLE HoldTextDestination(const char* name, Outcome& outcome) {
    const NameTarget target = TargetOfName(name);
    if (!NameMayBeWritten(target, TransferKind::APPEND)) {
        outcome = ERROR_CODE_NO_DEVICE;
        return INVALID_HANDLE_VALUE;
    }
    HANDLE out = HoldDestination(name);
    if (out == INVALID_HANDLE_VALUE) {
        outcome = RuntimeErrnoOf(GetLastError());
    } else if (!IsRegularFile(out) && target != NameTarget::NULL_DEVICE) {
        CloseHandle(out);
        outcome = ERROR_CODE_NO_DEVICE;
        out = INVALID_HANDLE_VALUE;
    }
    return out;
}

// The text's bytes at the end of the held file in one write; a write that falls short is cut back.
Outcome AppendBytes(HANDLE out, const char* text) {
    const DWORD length = static_cast<DWORD>(std::strlen(text));
    std::int64_t oldSize = 0;
    const bool disk = IsRegularFile(out);
    if (disk && !(HandleFileSize(out, oldSize) && WindToEnd(out))) return RuntimeErrnoOf(GetLastError());
    DWORD written = 0;
    if (length == 0 || (WriteFile(out, text, length, &written, nullptr) && written == length)) return DONE;
    if (disk) EndFileAt(out, oldSize);
    return ERROR_CODE_WRITE_FAILED;
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
extern "C" HostWord WINAPI ActionMoveFile(RunData* rd, HostWord source, HostWord destination) {
    TransferFile(rd, source, destination, TransferKind::MOVE);
    return 0;
}

// The text's characters, cut to 259 (a text, not a name), with no terminator and no line end,
// written at the end of the held destination in one write. A write that fails (a full disk)
// stores 32 and leaves the file as long as it was. A destination that could keep the write
// waiting is refused with 19, as for the file transfers.
extern "C" HostWord WINAPI ActionAppendText(RunData* rd, HostWord text, HostWord destination) {
    if (!ActionMayRun(rd)) return 0;
    if (!TakeWholeName(rd, rd->workPath, destination)) return 0;
    Outcome outcome = DONE;
    HANDLE out = HoldTextDestination(rd->workPath, outcome);
    if (out != INVALID_HANDLE_VALUE) {
        CopyPath(rd->workPath, TextParameter(text));
        outcome = AppendBytes(out, rd->workPath);
        CloseHandle(out);
    }
    StoreOutcome(rd, outcome);
    return 0;
}
