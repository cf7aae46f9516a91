// Appending, copying and moving files, and appending text: each file is held from its first check
// to the end of the action, with other writers kept out, and every check is asked of the handle
// the action then reads, writes or deletes through.
#include <cstring>

#include "fileops/transfer_actions.h"
#include "fileops/file_names.h"
#include "fileops/held_files.h"
#include "state/file_handles.h"
#include "state/host_services.h"
#include "state/last_error.h"

namespace {

enum class TransferKind { APPEND, COPY, MOVE };

// A destination's name that could keep a write waiting for ever (a pipe, a port, the console) is
// refused before it is opened. The null device never waits: copies and appends may go there, but
// a move may not, as it would delete a file whose bytes went nowhere.
bool NameMayBeWritten(NameTarget target, TransferKind kind) {
    return target == NameTarget::DISK_FILE || (target == NameTarget::NULL_DEVICE && kind != TransferKind::MOVE);
}

// The held destination is a file on disk, or the null device its name promised: a FIFO or a unix
// device has an ordinary name, and shows only in its handle.
bool HandleMayBeWritten(HANDLE file, NameTarget target) {
    return IsDiskFile(file) || target == NameTarget::NULL_DEVICE;
}

// Only now, with the file known and held, is it emptied (copy, move) or wound to its end
// (append). The null device has neither. An empty file is left as it is: Wine refuses even to
// cut a file to the length it has when its drive is full.
bool PrepareDestination(HANDLE file, TransferKind kind) {
    if (!IsDiskFile(file)) return true;
    if (kind == TransferKind::APPEND) return WindToEnd(file);
    std::int64_t size = 0;
    if (!HandleFileSize(file, size)) return false;
    return size == 0 || SetEndOfFile(file) != 0;
}

// Closes a handle when one is held.
void LetGo(HANDLE held) {
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
}

// A refusal once files may be held: the code is stored and they are let go.
bool Refuse(RunData* rd, std::uint32_t code, HANDLE held, HANDLE alsoHeld = INVALID_HANDLE_VALUE) {
    rd->lastError = code;
    LetGo(held);
    LetGo(alsoHeld);
    return false;
}

// The source through workPath. A device's name is refused before anything is opened (a read from
// a port can wait for ever); a FIFO or unix device, by the handle held.
bool HoldTransferSource(RunData* rd, HostWord source, TransferKind kind, HANDLE& in) {
    if (!TakeWholeName(rd, rd->workPath, source)) return false;
    if (TargetOfName(rd->workPath) != NameTarget::DISK_FILE) {
        rd->lastError = ERROR_CODE_NO_DEVICE;
        return false;
    }
    in = HoldDiskSource(rd, rd->workPath, kind == TransferKind::MOVE ? SourceUse::READ_AND_DELETE : SourceUse::READ);
    return in != INVALID_HANDLE_VALUE;
}

// The destination named in workPath, after the source, if any, is held (the text of "Append text
// to a file" has none). The source denies writers, so the source itself, under any name (another
// drive root, a hard link, an 8.3 name), cannot be opened for writing: the platform tells that by
// the handle held, where volume numbers and file indexes can mislead (Wine numbers each drive root
// apart; two FAT volumes can repeat an index). That is 16; another program holding the
// destination is 13. A destination held is checked through its handle before a byte of it
// changes. On a refusal, everything held is let go.
bool HoldTransferDestination(RunData* rd, TransferKind kind, HANDLE in, HANDLE& out) {
    const NameTarget target = TargetOfName(rd->workPath);
    if (!NameMayBeWritten(target, kind)) return Refuse(rd, ERROR_CODE_NO_DEVICE, in);
    out = HoldDestination(rd->workPath);
    if (out == INVALID_HANDLE_VALUE) {
        const DWORD openError = GetLastError();
        LetGo(in);
        if (in != INVALID_HANDLE_VALUE && WasHeldBySource(rd->workPath, openError))
            rd->lastError = ERROR_CODE_SAME_FILE;
        else
            StoreWindowsError(rd, openError);
        return false;
    }
    if (!HandleMayBeWritten(out, target)) return Refuse(rd, ERROR_CODE_NO_DEVICE, out, in);
    if (!PrepareDestination(out, kind)) {
        const DWORD error = GetLastError();
        Refuse(rd, 0, out, in);
        StoreWindowsError(rd, error);
        return false;
    }
    return true;
}

// A move deletes the source it copied, through the handle that kept every writer out from before
// the copy: no byte added since can be lost, and no file put at its name since can be hit. It goes
// only when its copy is whole and closed (32 otherwise); a deletion refused, also one the file
// system refuses after the handle closed (the name still leads to that file), stores 13 and leaves
// the copy beside the source.
void FinishMove(RunData* rd, HostWord source, HANDLE in, bool copyWhole) {
    if (rd->lastError != 0) {
        CloseHandle(in);
        return;
    }
    if (!copyWhole) {
        Refuse(rd, ERROR_CODE_STREAM, in);
        return;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    const bool known = InformationOf(in, information);
    const FileIdentity identity = IdentityOf(information);
    CopyPath(rd->workPath, TextParameter(source));
    if (!DeleteAndLetGo(in, rd->workPath, known ? &identity : nullptr)) rd->lastError = ERROR_CODE_NOT_REMOVED;
}

// Source, then destination, both held until the end; the copy's outcome becomes lastError. Both
// names must fit workPath whole.
void TransferFile(RunData* rd, HostWord source, HostWord destination, TransferKind kind) {
    if (!ActionMayRun(rd)) return;
    if (!NameIsWhole(rd, destination)) return;
    HANDLE in = INVALID_HANDLE_VALUE, out = INVALID_HANDLE_VALUE;
    if (!HoldTransferSource(rd, source, kind, in)) return;
    CopyPath(rd->workPath, TextParameter(destination));
    if (!HoldTransferDestination(rd, kind, in, out)) return;
    rd->lastError = CopyStream(rd, in, out);
    const bool whole = kind == TransferKind::MOVE && rd->lastError == 0 && HoldsWholeCopy(in, out);
    const bool closed = CloseHandle(out) != 0;
    if (kind == TransferKind::MOVE)
        FinishMove(rd, source, in, whole && closed);
    else
        CloseHandle(in);
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
// written at the end of the held destination. A write that fails (a full disk) stores 32. A
// destination that could keep the write waiting is refused with 19, as for the file transfers.
extern "C" HostWord WINAPI ActionAppendText(RunData* rd, HostWord text, HostWord destination) {
    if (!ActionMayRun(rd)) return 0;
    if (!TakeWholeName(rd, rd->workPath, destination)) return 0;
    HANDLE out = INVALID_HANDLE_VALUE;
    if (!HoldTransferDestination(rd, TransferKind::APPEND, INVALID_HANDLE_VALUE, out)) return 0;
    CopyPath(rd->workPath, TextParameter(text));
    const DWORD length = static_cast<DWORD>(std::strlen(rd->workPath));
    DWORD written = 0;
    const bool whole = length == 0 || (WriteFile(out, rd->workPath, length, &written, nullptr) && written == length);
    rd->lastError = whole ? 0 : ERROR_CODE_STREAM;
    CloseHandle(out);
    return 0;
}
