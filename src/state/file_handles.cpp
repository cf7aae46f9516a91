// Sizes, positions and identities asked of open handles. GetFileSize and SetFilePointer answer the
// low word and put the high one apart. A low word of all ones is also a true answer (4 GiB - 1,
// 8 GiB - 1...): only the last error tells a failure.
#include "state/file_handles.h"
#include "state/windows_version.h"

namespace {

constexpr DWORD ALL_ONES = 0xFFFFFFFF;   // INVALID_FILE_SIZE, INVALID_SET_FILE_POINTER

// The last error is cleared before the call, so that one left by an earlier call is not taken
// for this one's.
bool Failed(DWORD low) {
    return low == ALL_ONES && GetLastError() != NO_ERROR;
}

}  // namespace

bool HandleFileSize(HANDLE file, std::int64_t& size) {
    DWORD high = 0;
    SetLastError(NO_ERROR);
    const DWORD low = GetFileSize(file, &high);
    if (Failed(low)) return false;
    size = JoinedSize(high, low);
    return true;
}

bool HandlePosition(HANDLE file, std::int64_t& position) {
    LONG high = 0;   // moved by 0 from the current position: the position itself
    SetLastError(NO_ERROR);
    const DWORD low = SetFilePointer(file, 0, &high, FILE_CURRENT);
    if (Failed(low)) return false;
    position = JoinedSize(static_cast<DWORD>(high), low);
    return true;
}

bool WindToEnd(HANDLE file) {
    LONG high = 0;
    SetLastError(NO_ERROR);
    return !Failed(SetFilePointer(file, 0, &high, FILE_END));
}

bool EndFileAt(HANDLE file, std::int64_t length) {
    LONG high = static_cast<LONG>(static_cast<std::uint64_t>(length) >> 32);
    SetLastError(NO_ERROR);
    if (Failed(SetFilePointer(file, static_cast<LONG>(length & ALL_ONES), &high, FILE_BEGIN))) return false;
    return SetEndOfFile(file) != 0;
}

DWORD SharedWithEveryone() {
    constexpr DWORD READERS_AND_WRITERS = FILE_SHARE_READ | FILE_SHARE_WRITE;
    return IsNtPlatform() ? READERS_AND_WRITERS | FILE_SHARE_DELETE : READERS_AND_WRITERS;
}

bool InformationOf(HANDLE item, BY_HANDLE_FILE_INFORMATION& information) {
    return item != INVALID_HANDLE_VALUE && GetFileInformationByHandle(item, &information) != 0;
}

bool IdentityOf(HANDLE item, FileIdentity& identity) {
    BY_HANDLE_FILE_INFORMATION information;
    if (!InformationOf(item, information)) return false;
    identity = IdentityOf(information);
    return true;
}

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& information) {
    return FileIdentity{information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
}

bool SameIdentity(const FileIdentity& first, const FileIdentity& second) {
    return first.volume == second.volume && first.indexHigh == second.indexHigh && first.indexLow == second.indexLow;
}
