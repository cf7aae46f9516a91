// What a name given to an action leads to, told before anything is opened: whether it reaches
// the file system whole, and whether it is a file on disk or a device.
#pragma once

#include "state/run_data.h"

// Copies the name into destination with CopyPath and answers true when it came through whole.
// A longer name is refused: its first 259 characters can name another, existing file, which
// the action would then delete, replace or rename. 38 is stored and the answer is false.
bool TakeWholeName(RunData* rd, char* destination, HostWord name);

// The same refusal without the copy, for a name that goes into workPath later.
bool NameIsWhole(RunData* rd, HostWord name);

// The modes of the runtime's permission check (_access), and its answer for a name it cannot
// grant or find.
constexpr int ACCESS_EXISTS = 0;
constexpr int ACCESS_READ = 4;
constexpr int ACCESS_WRITE = 2;
constexpr int ACCESS_FAILED = -1;

// The runtime's test: true when the name exists, as a file or a directory.
bool NameExists(const char* name);

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

// TargetOfName, then, for a name it takes for a file, a handle that opens no data: for callers
// that do not open the name themselves before they read it.
NameTarget TargetOf(const char* name);

// The whole path of a name, made by the platform (GetFullPathNameA) into a buffer of 260 bytes;
// false when it cannot be made or does not fit.
bool FullPathOf(const char* name, char* full);

// The length of a full path's root, "C:\" or "\\server\share\"; 0 when it has none.
std::size_t RootLength(const char* path);

// The length of the folder part of a name as given, its last separator ('\' or '/') included,
// or "C:" of a name such as C:a.txt; 0 for a name in the current folder.
std::size_t FolderLength(const char* name);
