// "Run application": a launch request handed to the host, its result kept in lastError.
#pragma once

#include <cstdint>

#include "state/run_data.h"

// Reads the option prefix, e.g. (hide,wait), at the front of a command line: sets LAUNCH_WAIT
// and LAUNCH_HIDE in flags and answers where the command line to send begins (right after the
// ')' when a word was found, else the command line itself).
const char* TakeLaunchOptions(const char* commandLine, std::uint16_t& flags);

extern "C" HostWord WINAPI ActionRunApplication(RunData* rd, HostWord program, HostWord commandLine);
