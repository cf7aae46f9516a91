// The selector state as the host's save file holds it: a fixed block, then the result buffer.
#pragma once

#include "state/run_data.h"

constexpr std::uint16_t SAVED_STATE_VERSION = 1;

#pragma pack(push, 1)
struct SavedSelectorState {
    std::uint16_t version;
    std::uint16_t multiSelect;            // low 16 bits; sign-extended when loaded
    std::uint32_t selectorBufferSize;     // bytes of the buffer that follow the block
    std::uint32_t selectorStyle;
    char selectorTitle[SELECTOR_TITLE_SIZE];
    char defaultExtension[DEFAULT_EXTENSION_SIZE];
    char filterList[FILTER_LIST_SIZE];
};
#pragma pack(pop)

static_assert(sizeof(SavedSelectorState) == 648);
static_assert(offsetof(SavedSelectorState, selectorTitle) == 12);
static_assert(offsetof(SavedSelectorState, defaultExtension) == 92);
static_assert(offsetof(SavedSelectorState, filterList) == 348);

extern "C" int WINAPI SaveRunObject(RunData* rd, HANDLE file);
extern "C" int WINAPI LoadRunObject(RunData* rd, HANDLE file);
