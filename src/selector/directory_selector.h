// The directory selector: the platform's folder browser, started on a folder the application names.
#pragma once

#include <windows.h>

#include "state/run_data.h"

// Selects the starting folder when the browser opens and enables OK only while the selection
// has a file-system path. Always answers 0.
extern "C" int CALLBACK BrowseFolderCallback(HWND browser, UINT message, LPARAM parameter, LPARAM data);

extern "C" HostWord WINAPI ActionOpenDirectorySelector(RunData* rd, HostWord initialPath, HostWord unused);
