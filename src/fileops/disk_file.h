// Whether a name leads to a file on disk or to a device, told before it is opened: opening a
// device can already wait or change it, and reading or writing one can wait for ever.
#pragma once

enum class NameTarget {
    DISK_FILE,      // a file on disk, or a name not taken yet (an open would create a file)
    NULL_DEVICE,    // NUL under any of its names: keeps nothing, never waits
    OTHER_DEVICE,   // a serial or printer port, the console, a pipe, a unix FIFO or device
};

// By the name alone, opening nothing: a name the platform turns into a path in the device space
// (COM1, nul.txt, c:\dir\prn, \\.\pipe\x) is a device; \\.\C:\dir\a.txt is a file on disk. A FIFO
// in a drive has an ordinary name: the actions tell it by the handle they open.
NameTarget TargetOfName(const char* name);

// TargetOfName, then, for a name it takes for a file, a handle that opens no data: for callers
// that do not open the name themselves before they read it.
NameTarget TargetOf(const char* name);
