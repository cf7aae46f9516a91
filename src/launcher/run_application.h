// "Run application": the block it hands to the host's launcher, the option prefix of its command
// line, and the action, whose launch result is kept in lastError.
#pragma once

#include <cstddef>
#include <cstdint>

#include "state/run_data.h"

constexpr std::uint16_t LAUNCH_WAIT = 0x0001;
constexpr std::uint16_t LAUNCH_HIDE = 0x0002;

constexpr std::size_t LAUNCH_REQUEST_SIZE = 8192;
constexpr std::size_t PROGRAM_NAME_SIZE = PATH_BUFFER_SIZE;
constexpr std::size_t COMMAND_LINE_SIZE = 7930;

struct LaunchRequest {
    std::uint16_t flags;
    char programName[PROGRAM_NAME_SIZE];
    char commandLine[COMMAND_LINE_SIZE];
};

static_assert(sizeof(LaunchRequest) == LAUNCH_REQUEST_SIZE);
static_assert(offsetof(LaunchRequest, programName) == 2);
static_assert(offsetof(LaunchRequest, commandLine) == 262);

// Reads the option prefix, e.g. (hide,wait), at the front of a command line: sets LAUNCH_WAIT
// and LAUNCH_HIDE in flags and answers where the command line to send begins (right after the
// ')' when a word was found, else the command line itself). The prefix is a '(' first, a ')'
// close behind it, and the words WAIT and HIDE found anywhere between them, in any case.
const char* TakeLaunchOptions(const char* commandLine, std::uint16_t& flags);

extern "C" HostWord WINAPI ActionRunApplication(RunData* rd, HostWord program, HostWord commandLine);
