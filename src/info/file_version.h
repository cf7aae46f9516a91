// "VersionMS(" and "VersionLS(": the two halves of the named file's own version.
#pragma once

#include <windows.h>

#include "state/run_data.h"

// Fetches the file name and reads its version words; true with both written.
bool GetFileVersionWords(RunData* rd, HostWord token, DWORD* mostSignificant, DWORD* leastSignificant);

extern "C" HostWord WINAPI ExpressionVersionMS(RunData* rd, HostWord token);       // 10 "VersionMS("
extern "C" HostWord WINAPI ExpressionVersionLS(RunData* rd, HostWord token);       // 11 "VersionLS("
