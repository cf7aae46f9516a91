// Reserving and emptying the selector result buffer, shared by the three selectors.
#include <cstdlib>

#include "selector/selector_buffer.h"

namespace {

constexpr std::uint32_t EMPTY_RESULT_BYTES = 2;

}  // namespace

bool ReserveSelectorBuffer(RunData* rd, std::uint32_t size) {
    if (size <= rd->selectorBufferSize) return true;
    if (rd->selectorBuffer) {
        std::free(rd->selectorBuffer);
        rd->selectorBuffer = nullptr;
        rd->selectorBufferSize = 0;
    }
    rd->selectorBuffer = static_cast<char*>(std::malloc(size));
    if (!rd->selectorBuffer) return false;
    rd->selectorBufferSize = size;
    return true;
}

void EmptySelectorResult(RunData* rd) {
    if (!rd->selectorBuffer) return;
    for (std::uint32_t i = 0; i < EMPTY_RESULT_BYTES && i < rd->selectorBufferSize; ++i) rd->selectorBuffer[i] = '\0';
}
