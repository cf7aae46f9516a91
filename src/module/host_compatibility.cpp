// The editor host's version test. It runs afresh on every call; nothing is remembered.
#include "module/host_compatibility.h"

namespace {

constexpr std::uint32_t BUILD_MASK = 0xFFF;
constexpr std::uint32_t MINIMUM_BUILD = 239;
constexpr std::uint32_t PRODUCT_MASK = 0xFFFF0000;
constexpr std::uint32_t MINIMUM_PRODUCT = 0x02000000;

}  // namespace

bool IsHostCompatible(const EditorHost* host) {
    if (!host || !host->getHostVersion) return false;
    if ((host->getHostVersion() & BUILD_MASK) < MINIMUM_BUILD) return false;
    if ((host->getHostVersion() & PRODUCT_MASK) < MINIMUM_PRODUCT) return false;
    return true;
}
