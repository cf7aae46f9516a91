// Files written beside their destination and swapped in: their names, their making and
// discarding, the swap by each family of Windows, and the room a swap needs.
#include <cstring>

#include "fileops/beside_files.h"
#include "fileops/deletions.h"
#include "fileops/file_names.h"
#include "fileops/held_files.h"
#include "state/nt_file_calls.h"
#include "state/windows_errors.h"
#include "state/windows_version.h"

namespace {

// ~QTFxxxx.TMP: 12 characters, an 8.3 name that every file system keeps as it is.
constexpr char NAME_START[] = "~QTF";
constexpr char NAME_END[] = ".TMP";
constexpr std::size_t NAME_DIGITS = 4;
constexpr std::size_t NAME_LENGTH = sizeof NAME_START - 1 + NAME_DIGITS + sizeof NAME_END - 1;
constexpr std::uint32_t NAME_COUNT = 0x10000;   // as many as four hexadecimal digits give
constexpr char HEX_DIGITS[] = "0123456789ABCDEF";
constexpr int HEX_DIGIT_BITS = 4;

constexpr char CURRENT_FOLDER[] = ".";

// Read-only comes too late: a file is written before it could be made read-only, and a read-only
// file is never replaced.
constexpr DWORD KEPT_ATTRIBUTES = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// The name number makes, after the folder part already in name.
void WriteName(char* name, std::uint32_t number) {
    std::memcpy(name, NAME_START, sizeof NAME_START - 1);
    char* digit = name + sizeof NAME_START - 1;
    for (std::size_t i = 0; i < NAME_DIGITS; ++i)
        digit[i] = HEX_DIGITS[(number >> (HEX_DIGIT_BITS * (NAME_DIGITS - 1 - i))) & 0xF];
    std::memcpy(digit + NAME_DIGITS, NAME_END, sizeof NAME_END);
}

// Where the search for a free name starts: apart for two processes, and for two calls in one.
std::uint32_t FirstNumber() {
    return GetTickCount() ^ (GetCurrentProcessId() << HEX_DIGIT_BITS);
}

// Tries take on the names of the pattern in the folder of destination, name by name, until one
// succeeds (true, with that name in name) or fails other than for a name taken (false with its
// error). ERROR_FILENAME_EXCED_RANGE when no such name fits.
template <typename Take>
bool TakeFreeName(const char* destination, char* name, Take take) {
    const std::size_t folder = FolderLength(destination);
    if (folder + NAME_LENGTH >= PATH_BUFFER_SIZE) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    std::memcpy(name, destination, folder);
    const std::uint32_t first = FirstNumber();
    for (std::uint32_t tried = 0; tried < NAME_COUNT; ++tried) {
        WriteName(name + folder, first + tried);
        if (take(name)) return true;
        if (!IsTaken(GetLastError())) return false;
    }
    return false;
}

// Lets the held file go; a file let go under a name it does not keep yet is remembered first, to
// be known again if it must be discarded.
void LetGo(BesideFile& beside, bool remember) {
    if (beside.held == INVALID_HANDLE_VALUE) return;
    if (remember) RememberBesideFile(beside);
    CloseHandle(beside.held);
    beside.held = INVALID_HANDLE_VALUE;
}

// Renames the held file through its handle, which is then let go, and keeps its new name. False
// with the platform's error: ERROR_CALL_NOT_IMPLEMENTED where the NT layer cannot be asked (no
// NT layer, a whole path that is not of the form X:\...), and the file is still held.
bool RenameHeld(BesideFile& beside, const char* destination, bool replace) {
    char full[PATH_BUFFER_SIZE];
    DWORD error = ERROR_CALL_NOT_IMPLEMENTED;
    if (beside.held == INVALID_HANDLE_VALUE || !FullPathOf(destination, full) || !NtRename(beside.held, full, replace, error)) {
        SetLastError(error);
        return false;
    }
    LetGo(beside, false);
    CopyPath(beside.name, destination);
    return true;
}

// Windows 95, 98 and ME: the old file aside under a name of the pattern, the new one in its
// place, then the old one deleted. A kill in between leaves each file whole under a name of its
// own; a failed second rename puts the old file back.
bool SwapByRenames(const char* replacement, const char* destination, const FileIdentity& old) {
    char aside[PATH_BUFFER_SIZE] = {};
    if (!TakeFreeName(destination, aside, [destination](const char* name) { return MoveFileA(destination, name) != 0; }))
        return false;
    if (!MoveFileA(replacement, destination)) {
        const DWORD error = GetLastError();
        MoveFileA(aside, destination);
        SetLastError(error);
        return false;
    }
    DeleteIfSame(aside, old);
    return true;
}

}  // namespace

bool MakeBesideFile(const char* destination, DWORD attributes, BesidePlace place, BesideFile& beside) {
    const auto make = [&beside, attributes](const char* name) {
        beside.held = HoldNewFile(name, attributes);
        return beside.held != INVALID_HANDLE_VALUE;
    };
    if (TakeFreeName(destination, beside.name, make)) return true;
    if (GetLastError() != ERROR_FILENAME_EXCED_RANGE || place != BesidePlace::DESTINATION_TOO) return false;
    CopyPath(beside.name, destination);
    return make(beside.name);
}

void RememberBesideFile(BesideFile& beside) {
    FileFacts facts;
    beside.known = beside.held != INVALID_HANDLE_VALUE && FactsOf(beside.held, facts);
    beside.identity = facts.identity;
}

void DiscardBesideFile(BesideFile& beside) {
    if (beside.held != INVALID_HANDLE_VALUE) {
        DeleteHeldFile(beside.held, beside.name);
        CloseHandle(beside.held);
        beside.held = INVALID_HANDLE_VALUE;
    } else if (beside.known) {
        DeleteIfSame(beside.name, beside.identity);
    }
}

bool PutInPlace(BesideFile& beside, const char* destination) {
    if (std::strcmp(beside.name, destination) == 0) {   // made under that name
        LetGo(beside, false);
        return true;
    }
    if (RenameHeld(beside, destination, false)) return true;
    if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return false;
    LetGo(beside, true);
    return RenameWithoutCopy(beside.name, destination, MOVEFILE_WRITE_THROUGH);
}

// ReplaceFileA is given whole paths (Wine's refuses relative ones), which must fit its ANSI
// buffers. Its failures all leave both files under their names, as no backup name is given.
bool SwapIntoPlace(BesideFile& beside, const char* destination, const FileIdentity& old) {
    char replaced[PATH_BUFFER_SIZE], replacement[PATH_BUFFER_SIZE];
    const auto replaceFile = Platform<ReplaceFileCall>();
    if (replaceFile && FullPathOf(destination, replaced) && FullPathOf(beside.name, replacement)) {
        LetGo(beside, true);   // ReplaceFileA opens it itself, and shares it with no holder
        return replaceFile(replaced, replacement, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0;
    }
    if (RenameHeld(beside, destination, true)) return true;
    if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return false;
    LetGo(beside, true);
    if (IsNtPlatform())
        return RenameWithoutCopy(beside.name, destination, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    return SwapByRenames(beside.name, destination, old);
}

DWORD KeptAttributes(DWORD oldAttributes) {
    const DWORD kept = oldAttributes & KEPT_ATTRIBUTES;
    return kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL;
}

bool DeleteIfSame(const char* name, const FileIdentity& identity) {
    HANDLE file = HoldSource(name, SourceUse::READ_AND_DELETE);
    if (file == INVALID_HANDLE_VALUE) return false;
    FileFacts facts;
    if (!FactsOf(file, facts) || !SameIdentity(facts.identity, identity)) {
        CloseHandle(file);
        return false;
    }
    return DeleteAndLetGo(file, name, nullptr);
}

// Asked of the held file's volume through the NT layer; else of its folder, as
// GetDiskFreeSpaceExA takes it, or of its volume's root, which is all the older GetDiskFreeSpaceA
// takes.
bool RoomFor(HANDLE onVolume, const char* name, std::int64_t bytes) {
    if (bytes <= 0) return true;
    const auto needed = static_cast<std::uint64_t>(bytes);
    std::uint64_t available = 0;
    if (NtRoomOf(onVolume, available)) return available >= needed;
    char folder[PATH_BUFFER_SIZE] = {};
    std::memcpy(folder, name, FolderLength(name));
    const char* where = *folder ? folder : CURRENT_FOLDER;
    ULARGE_INTEGER room{};
    if (const auto freeSpace = Platform<DiskFreeSpaceExCall>())
        return !freeSpace(where, &room, nullptr, nullptr) || room.QuadPart >= needed;
    char root[PATH_BUFFER_SIZE] = {};
    if (!FullPathOf(where, root) || RootLength(root) == 0) return true;
    root[RootLength(root)] = '\0';
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters)) return true;
    return std::uint64_t{freeClusters} * sectorsPerCluster * bytesPerSector >= needed;
}

bool RenameWithoutCopy(const char* from, const char* to, DWORD flags) {
    if (const auto moveFileEx = Platform<MoveFileExCall>()) return moveFileEx(from, to, flags) != 0;   // NT family
    return MoveFileA(from, to) != 0;
}
