// The option prefix of "Run application"'s command line.
#pragma once

#include <cstdint>

// Reads the option prefix, e.g. (hide,wait), at the front of a command line: sets LAUNCH_WAIT
// and LAUNCH_HIDE in flags and answers where the command line to send begins (right after the
// ')' when a word was found, else the command line itself).
const char* TakeLaunchOptions(const char* commandLine, std::uint16_t& flags);
