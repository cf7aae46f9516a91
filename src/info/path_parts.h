// Expressions about path names: the pieces of a name's absolute form and the current directory.
#pragma once

#include "state/run_data.h"

// Which piece of the absolute path GetPathPart answers.
enum class PathPart { DRIVE, DIRECTORY, NAME, EXTENSION, FULL };

// Fetches the path name and answers the chosen piece of its absolute form in a host string.
HostWord GetPathPart(RunData* rd, HostWord token, PathPart part);

extern "C" HostWord WINAPI ExpressionDriveName(RunData* rd, HostWord token);         // 4 "DriveName$("
extern "C" HostWord WINAPI ExpressionDirectoryName(RunData* rd, HostWord token);     // 5 "DirectoryName$("
extern "C" HostWord WINAPI ExpressionFileName(RunData* rd, HostWord token);          // 6 "FileName$("
extern "C" HostWord WINAPI ExpressionExtensionName(RunData* rd, HostWord token);     // 7 "ExtensionName$("
extern "C" HostWord WINAPI ExpressionTotalName(RunData* rd, HostWord token);         // 8 "TotalName$("
extern "C" HostWord WINAPI ExpressionCurrentDirectory(RunData* rd, HostWord token);  // 9 "CurrentDirectory$("
