// The run-time record of one File object instance: the host's header, then the object's own fields.
#pragma once

#include "host/host_records.h"

constexpr std::size_t PATH_BUFFER_SIZE = MAX_PATH; // every path buffer of the object: 260 bytes
static_assert(PATH_BUFFER_SIZE == 260);
constexpr std::size_t SELECTOR_TITLE_SIZE = 80;
constexpr std::size_t DEFAULT_EXTENSION_SIZE = 256;
constexpr std::size_t FILTER_LIST_SIZE = 300;

struct RunData {
    HostHeader header;
    char initialDirectory[PATH_BUFFER_SIZE];
    char* selectorBuffer;
    std::uint32_t selectorBufferSize;
    std::uint32_t multiSelect;
    std::uint32_t selectorStyle;
    char selectorTitle[SELECTOR_TITLE_SIZE];
    char defaultExtension[DEFAULT_EXTENSION_SIZE];
    char filterList[FILTER_LIST_SIZE];
    std::int32_t filterIndex;
    char* workPath;
    std::uint32_t lastError;
};

#ifndef _WIN64
static_assert(sizeof(RunData) == 1108);
static_assert(offsetof(RunData, initialDirectory) == 184);
static_assert(offsetof(RunData, selectorBuffer) == 444);
static_assert(offsetof(RunData, selectorBufferSize) == 448);
static_assert(offsetof(RunData, multiSelect) == 452);
static_assert(offsetof(RunData, selectorStyle) == 456);
static_assert(offsetof(RunData, selectorTitle) == 460);
static_assert(offsetof(RunData, defaultExtension) == 540);
static_assert(offsetof(RunData, filterList) == 796);
static_assert(offsetof(RunData, filterIndex) == 1096);
static_assert(offsetof(RunData, workPath) == 1100);
static_assert(offsetof(RunData, lastError) == 1104);
#endif
