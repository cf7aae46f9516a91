// Expressions about one file: its size, three of its dates and the two halves of its version.
#pragma once

#include "info/file_status.h"
#include "state/run_data.h"

// Fetches the file name and reads its version words; 0 with both written, -1 otherwise.
int GetFileVersionWords(RunData* rd, HostWord token, DWORD* mostSignificant, DWORD* leastSignificant);

extern "C" HostWord WINAPI ExpressionSizeof(RunData* rd, HostWord token);          // 0 "Sizeof("
extern "C" HostWord WINAPI ExpressionCreationDate(RunData* rd, HostWord token);    // 1 "CreationDate$("
extern "C" HostWord WINAPI ExpressionChangeDate(RunData* rd, HostWord token);      // 2 "ChangeDate$("
extern "C" HostWord WINAPI ExpressionAccessDate(RunData* rd, HostWord token);      // 3 "AccessDate$("
extern "C" HostWord WINAPI ExpressionVersionMS(RunData* rd, HostWord token);       // 10 "VersionMS("
extern "C" HostWord WINAPI ExpressionVersionLS(RunData* rd, HostWord token);       // 11 "VersionLS("
