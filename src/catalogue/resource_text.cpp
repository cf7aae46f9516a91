#include <cstring>

#include "catalogue/resource_text.h"
#include "module/module_instance.h"

void LoadResourceText(int id, char* buffer, std::size_t size) {
    if (!buffer || size == 0) return;
    LoadStringA(moduleInstance, static_cast<UINT>(id), buffer, static_cast<int>(size));
}

void TerminateWithin(char* buffer, std::size_t size) {
    if (buffer && size > 0 && !std::memchr(buffer, '\0', size)) buffer[size - 1] = '\0';
}

void StoreEmptyText(char* buffer, std::size_t size) {
    if (buffer && size > 0) buffer[0] = '\0';
}
