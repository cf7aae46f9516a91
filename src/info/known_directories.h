// Expressions for the well-known directories of the system, the user and all users.
#pragma once

#include "state/run_data.h"
#include "state/windows_version.h"

// Appends '\' to a non-empty string in a 260-byte buffer that does not end in one already;
// a string of 259 characters has no room left and stays as it is.
void AddTrailingBackslash(char* path);

extern "C" HostWord WINAPI ExpressionWindowsDirectory(RunData* rd, HostWord token);            // 14
extern "C" HostWord WINAPI ExpressionSystemDirectory(RunData* rd, HostWord token);             // 26
extern "C" HostWord WINAPI ExpressionMyDocsDirectory(RunData* rd, HostWord token);             // 27
extern "C" HostWord WINAPI ExpressionAppDataDirectory(RunData* rd, HostWord token);            // 28
extern "C" HostWord WINAPI ExpressionUserDirectory(RunData* rd, HostWord token);               // 29
extern "C" HostWord WINAPI ExpressionAllUsersDirectory(RunData* rd, HostWord token);           // 30
extern "C" HostWord WINAPI ExpressionAllUsersDocumentsDirectory(RunData* rd, HostWord token);  // 31
extern "C" HostWord WINAPI ExpressionAllUsersAppDataDirectory(RunData* rd, HostWord token);    // 32
