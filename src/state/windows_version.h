// The Windows the module runs on: the one place that asks, for the few answers that differ
// between the 9x family (95, 98, ME) and the NT family (NT 4.0, 2000 and later).
#pragma once

#include <windows.h>

// The system libraries whose calls the module looks up when it needs one that not every Windows
// it is made for has. The module imports from each, so each is loaded already (ntdll.dll on the
// NT family only).
constexpr char KERNEL_LIBRARY[] = "kernel32.dll";
constexpr char NT_LIBRARY[] = "ntdll.dll";
constexpr char RUNTIME_LIBRARY[] = "msvcrt.dll";
constexpr char DIALOG_LIBRARY[] = "comdlg32.dll";
constexpr char SHELL_LIBRARY[] = "shell32.dll";

// A call of a loaded system library, looked up when needed; null where that library is not
// loaded or the running Windows lacks the call.
FARPROC PlatformAddress(const char* library, const char* name);

template <typename Call>
Call PlatformCall(const char* library, const char* name) {
    return reinterpret_cast<Call>(reinterpret_cast<void*>(PlatformAddress(library, name)));
}

// True on the NT family.
bool IsNtPlatform();

// True where a file can be deleted through a handle held open on it and renamed within its volume
// only (ntdll's NtSetInformationFile, MoveFileExA, FILE_SHARE_DELETE): the NT family. Windows
// 95, 98 and ME have none of these, and delete a file by its name even while it is held open.
bool PlatformDeletesThroughHandles();

// True where the load and save dialogs can be resized: Windows 98 and ME (4.x above 4.0) and
// NT 5 (2000) on.
bool PlatformHasSizableDialogs();
