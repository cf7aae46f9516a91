// Carrying out a LaunchRequest: printed always, started when the host is asked to start programs.
#pragma once

#include "host_runtime.h"

void PrintLaunchRequest(const LaunchRecord& record);
// Starts the program; 0 when it started, else the Windows error code.
HostWord StartProgram(const LaunchRecord& record);
