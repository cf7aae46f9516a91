#include "system/guarded_memory.h"

#include <windows.h>
#include <cstdint>
#include <cstring>

namespace {

std::size_t PageSize() {
    static const std::size_t size = [] {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        return static_cast<std::size_t>(info.dwPageSize);
    }();
    return size;
}

}  // namespace

void* GuardedAlloc(std::size_t size) {
    if (size == 0) size = 1;
    const std::size_t page = PageSize();
    const std::size_t dataPages = (size + page - 1) / page;
    auto* base = static_cast<std::uint8_t*>(
        VirtualAlloc(nullptr, (dataPages + 1) * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (!base) return nullptr;
    DWORD old;
    VirtualProtect(base + dataPages * page, page, PAGE_NOACCESS, &old);
    return base + dataPages * page - size;
}

void GuardedFree(void* block) {
    if (!block) return;
    const std::size_t page = PageSize();
    auto address = reinterpret_cast<std::uintptr_t>(block);
    VirtualFree(reinterpret_cast<void*>(address - address % page), 0, MEM_RELEASE);
}

char* GuardedString(const std::string& text) {
    auto* copy = static_cast<char*>(GuardedAlloc(text.size() + 1));
    if (copy) std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}
