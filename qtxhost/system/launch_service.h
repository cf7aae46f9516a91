// Carrying out a LaunchRequest: printed always, started when the host is asked to start programs.
#pragma once

#include <cstdint>
#include <string>

#include "host/host_records.h"

// What the host does with a LaunchRequest.
enum class LaunchMode { RECORD, START };

struct LaunchRecord {
    std::uint16_t flags = 0;
    std::string programName;
    std::string commandLine;
};

void PrintLaunchRequest(const LaunchRecord& record);
// Starts the program; 0 when it started, else the Windows error code.
HostWord StartProgram(const LaunchRecord& record);
