// Saving and loading the selector settings and the last selector result in the host's save file.
#include <cstdlib>
#include <cstring>

#include "state/file_handles.h"
#include "state/saved_state.h"

namespace {

constexpr std::int64_t UNKNOWN_SIZE = -1;

bool WriteBlock(HANDLE file, const void* bytes, DWORD size) {
    DWORD written = 0;
    return WriteFile(file, bytes, size, &written, nullptr) != 0;   // only the call's success counts
}

// True when the call succeeds; delivered tells how many bytes arrived.
bool ReadBlock(HANDLE file, void* bytes, DWORD size, DWORD& delivered) {
    delivered = 0;
    return ReadFile(file, bytes, size, &delivered, nullptr) != 0;
}

// Bytes the file still holds after the handle's position, or -1 where that cannot be known
// (a pipe or a device has no size to ask).
std::int64_t BytesLeft(HANDLE file) {
    std::int64_t size = 0, position = 0;
    if (GetFileType(file) != FILE_TYPE_DISK) return UNKNOWN_SIZE;
    if (!HandleFileSize(file, size) || !HandlePosition(file, position)) return UNKNOWN_SIZE;
    return size - position;
}

// A buffer the file cannot fill is not allocated: a damaged size field (4 GiB in a block of
// 648 bytes) would otherwise cost that much memory for a load that must fail anyway.
bool FileHasBytesLeft(HANDLE file, std::uint32_t size) {
    const std::int64_t left = BytesLeft(file);
    return left == UNKNOWN_SIZE || left >= size;
}

void CopySettingsFrom(RunData* rd, const SavedSelectorState& state) {
    rd->selectorStyle = state.selectorStyle;
    std::memcpy(rd->selectorTitle, state.selectorTitle, sizeof(state.selectorTitle));
    rd->multiSelect = static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<std::int16_t>(state.multiSelect)));
    rd->selectorBufferSize = state.selectorBufferSize;
    std::memcpy(rd->defaultExtension, state.defaultExtension, sizeof(state.defaultExtension));
    std::memcpy(rd->filterList, state.filterList, sizeof(state.filterList));
}

}  // namespace

extern "C" int WINAPI SaveRunObject(RunData* rd, HANDLE file) {
    SavedSelectorState state;
    state.version = SAVED_STATE_VERSION;
    state.multiSelect = static_cast<std::uint16_t>(rd->multiSelect);
    state.selectorBufferSize = rd->selectorBufferSize;
    state.selectorStyle = rd->selectorStyle;
    std::memcpy(state.selectorTitle, rd->selectorTitle, sizeof(state.selectorTitle));
    std::memcpy(state.defaultExtension, rd->defaultExtension, sizeof(state.defaultExtension));
    std::memcpy(state.filterList, rd->filterList, sizeof(state.filterList));
    if (!WriteBlock(file, &state, sizeof(state))) return 0;
    if (rd->selectorBufferSize == 0) return 1;
    if (!rd->selectorBuffer) return 0;   // a size without a buffer: nothing true to write
    return WriteBlock(file, rd->selectorBuffer, rd->selectorBufferSize) ? 1 : 0;
}

extern "C" int WINAPI LoadRunObject(RunData* rd, HANDLE file) {
    SavedSelectorState state;
    DWORD delivered = 0;
    if (!ReadBlock(file, &state, sizeof(state), delivered)) return 0;
    if (delivered < sizeof(state)) return 0;
    if (state.version != SAVED_STATE_VERSION) return 0;
    CopySettingsFrom(rd, state);
    if (state.selectorBufferSize == 0) return 1;   // an older buffer stays allocated, its capacity now 0

    std::free(rd->selectorBuffer);
    rd->selectorBuffer = nullptr;
    if (FileHasBytesLeft(file, state.selectorBufferSize))
        rd->selectorBuffer = static_cast<char*>(std::malloc(state.selectorBufferSize));
    if (!rd->selectorBuffer) {   // too short a file answers as a failed allocation does
        rd->selectorBufferSize = 0;
        return 0;
    }
    // The announced size stays even when fewer bytes arrive; what did not arrive reads as zeros.
    const bool read = ReadBlock(file, rd->selectorBuffer, state.selectorBufferSize, delivered);
    if (!read || delivered < state.selectorBufferSize) {
        std::memset(rd->selectorBuffer + delivered, 0, state.selectorBufferSize - delivered);
        return 0;
    }
    return 1;
}
