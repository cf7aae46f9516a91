// Whole names: copying a name into the object's 260-byte buffers (never cut into another name),
// the path the platform makes of a name, its root and folder, and whether it leads to a file on
// disk or to a device, told before anything is opened.
#pragma once

#include <cstddef>

#include "state/run_data.h"

// Bounded copy into a 260-byte buffer: at most 259 bytes kept, cut between two characters in a
// double-byte code page, the rest zero-filled, always terminated. A null source copies as the
// empty string.
void CopyPath(char* destination, const char* source);

// CopyPath that tells whether the name came through whole: false when the source was longer
// than 259 characters and the destination holds only its first 259.
bool CopyWholePath(char* destination, const char* source);

// True when CopyPath would keep the whole name: at most 259 characters, or null.
bool FitsPath(const char* source);

enum class NameTarget {
    DISK_FILE,      // a file on disk, or a name not taken yet (an open would create a file)
    NULL_DEVICE,    // NUL under any of its names: keeps nothing, never waits
    OTHER_DEVICE,   // a serial or printer port, the console, a pipe, a unix FIFO or device
};

// By the name alone, opening nothing (opening a device can already wait or change it, and
// reading or writing one can wait for ever): a name the platform turns into a path in the device
// space (COM1, nul.txt, c:\dir\prn, \\.\pipe\x) is a device; \\.\C:\dir\a.txt is a file on disk.
// A FIFO in a drive has an ordinary name: the actions tell it by the handle they open.
NameTarget TargetOfName(const char* name);

// The same, of a path the platform has made whole (FullPathOf).
NameTarget TargetOfPath(const char* fullPath);

// The whole path of a name, made by the platform (GetFullPathNameA) into a buffer of 260 bytes;
// false when it cannot be made or does not fit.
bool FullPathOf(const char* name, char* full);

// The length of a full path's root, "C:\" or "\\server\share\"; 0 when it has none.
std::size_t RootLength(const char* path);

// The length of the folder part of a name as given, its last separator ('\' or '/') included,
// or "C:" of a name such as C:a.txt; 0 for a name in the current folder.
std::size_t FolderLength(const char* name);
