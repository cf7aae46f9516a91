// The block "Run application" hands to the host's launcher.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr std::uint16_t LAUNCH_WAIT = 0x0001;
constexpr std::uint16_t LAUNCH_HIDE = 0x0002;

constexpr std::size_t LAUNCH_REQUEST_SIZE = 8192;
constexpr std::size_t PROGRAM_NAME_SIZE = 260;
constexpr std::size_t COMMAND_LINE_SIZE = 7930;

struct LaunchRequest {
    std::uint16_t flags;
    char programName[PROGRAM_NAME_SIZE];
    char commandLine[COMMAND_LINE_SIZE];
};

static_assert(sizeof(LaunchRequest) == LAUNCH_REQUEST_SIZE);
static_assert(offsetof(LaunchRequest, programName) == 2);
static_assert(offsetof(LaunchRequest, commandLine) == 262);
