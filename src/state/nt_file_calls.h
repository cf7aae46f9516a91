// Calls of the NT layer (ntdll.dll) on an open handle: what the file is, how much room its volume
// has, and renaming or deleting it through that very handle. Each is looked up when called and
// answers false where there is no NT layer (Windows 95, 98 and ME) or it refuses; the callers
// then ask kernel32 instead. They are also much cheaper than kernel32's calls where those ask the
// volume's serial number (GetFileInformationByHandle, GetDiskFreeSpaceExA): Wine looks that up
// anew each time, for several hundred microseconds.
#pragma once

#include <windows.h>
#include <cstdint>

#include "state/file_handles.h"

// The facts of the file under the handle (FileFacts), its identity without the volume.
bool NtFactsOf(HANDLE file, FileFacts& facts);

// The bytes that the file's volume still has for this user.
bool NtRoomOf(HANDLE file, std::uint64_t& available);

// Gives the file under the handle (opened with DELETE access) the name fullPath, a whole path
// "X:\...", replacing a file of that name only when replace is set. False with the platform's
// error in error, or with ERROR_CALL_NOT_IMPLEMENTED when it cannot be asked here.
bool NtRename(HANDLE file, const char* fullPath, bool replace, DWORD& error);

// Marks the file under the handle (opened with DELETE access) for deletion when it closes.
bool NtDelete(HANDLE file);
