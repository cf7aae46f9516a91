// Writing beside a destination, then giving the file written the destination's name in one step:
// at every moment the name leads to the old file whole or to the new file whole, whatever stops
// the machine. A file written beside lies in the destination's folder under a name of the pattern
// ~QTFxxxx.TMP (four hexadecimal digits). One found after a crash is a copy the object did not
// finish or, on Windows 95, 98 and ME, the old file of a swap under way; the object never deletes
// such a file later by its name: only the call that made it does, while it knows it is that file.
#pragma once

#include <windows.h>
#include <cstdint>

#include "state/file_handles.h"
#include "state/run_data.h"
#include "state/windows_errors.h"

struct BesideFile {
    HANDLE held = INVALID_HANDLE_VALUE;   // while it is written
    char name[PATH_BUFFER_SIZE] = {};
    FileIdentity identity{};              // kept when it is let go, to know it again
    bool known = false;                   // whether the identity could be had
};

// How a file is made for a destination.
enum class BesidePlace {
    BESIDE_ONLY,         // under a name of the pattern, or not at all
    DESTINATION_TOO,     // under the destination's own name when no name of the pattern fits beside
};

// Makes and holds, for reading and writing with nobody else let in, a new file with the
// attributes given, under a free name of the pattern in destination's folder, or with
// DESTINATION_TOO under destination itself (made only if no file has that name) when no such name
// fits within 259 characters. False with the platform's error: ERROR_FILENAME_EXCED_RANGE when no
// name fits.
bool MakeBesideFile(const char* destination, DWORD attributes, BesidePlace place, BesideFile& beside);

// Keeps the held file's identity, to know it again once it is let go.
void RememberBesideFile(BesideFile& beside);

// Deletes the file made: through its handle while held; once let go, only while its name still
// leads to that very file. A file it cannot delete keeps its name.
void DiscardBesideFile(BesideFile& beside);

// Gives the file the destination's name, which no file had when the transfer began: nothing is
// ever replaced. Renamed through its handle where the NT layer can, so that nobody can change it
// on the way; let go in any case once it has the name. False with the platform's error (one that
// IsTaken knows when another program made a file of that name meanwhile).
bool PutInPlace(BesideFile& beside, const char* destination);

// Replaces the existing file at destination, whose identity (FactsOf) is old, by the file made,
// which is let go. In one step with ReplaceFileA where the system has it (it keeps the old file's
// security and short name too), else by a rename through its handle that replaces (NT 4.0); Windows
// 95, 98 and ME can neither replace nor rename onto a name, so there the old file is first
// renamed to a name of the pattern, then the new file to destination, and then the old one is
// deleted. False with the platform's error when the old file could not be replaced: it then keeps
// its name, whole.
bool SwapIntoPlace(BesideFile& beside, const char* destination, const FileIdentity& old);

// The attributes a file made to replace another keeps of the old file's: archive, hidden and
// system; FILE_ATTRIBUTE_NORMAL when none.
DWORD KeptAttributes(DWORD oldAttributes);

// Deletes the file at name only when it is the file identified (FactsOf), through a handle held
// for it.
bool DeleteIfSame(const char* name, const FileIdentity& identity);

// True when the volume of the held file, named name, has room for bytes more, or when its room
// cannot be known.
bool RoomFor(HANDLE onVolume, const char* name, std::int64_t bytes);

// The platform's rename of from to to, which never copies: MoveFileExA with the flags given on the
// NT family; MoveFileA on Windows 95, 98 and ME, which have only it (it copies between volumes,
// so callers there ask it only within one, and it never replaces).
bool RenameWithoutCopy(const char* from, const char* to, DWORD flags);
