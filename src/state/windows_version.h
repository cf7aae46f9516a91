// The Windows the module runs on: the one place that asks, for the few answers that differ
// between the 9x family (95, 98, ME) and the NT family (NT 4.0, 2000 and later).
#pragma once

// True on the NT family.
bool IsNtPlatform();

// True where a file can be deleted through a handle held open on it and renamed within its volume
// only (ntdll's NtSetInformationFile, MoveFileExA, FILE_SHARE_DELETE): the NT family. Windows
// 95, 98 and ME have none of these, and delete a file by its name even while it is held open.
bool PlatformDeletesThroughHandles();

// True where the load and save dialogs can be resized: Windows 98 and ME (4.x above 4.0) and
// NT 5 (2000) on.
bool PlatformHasSizableDialogs();
