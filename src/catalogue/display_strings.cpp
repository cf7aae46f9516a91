// Display strings for the editor, or the incompatibility message for a host too old for them.
#include <cstring>

#include "catalogue/catalogue_exports.h"
#include "catalogue/descriptors.h"
#include "catalogue/resource_text.h"
#include "module/host_compatibility.h"

namespace {

constexpr char INCOMPATIBLE_MESSAGE[] =
    "File: This object is not compatible with this version of ZYN";
static_assert(sizeof(INCOMPATIBLE_MESSAGE) == 61);

// The message goes whole into any buffer of 61 bytes or more; a smaller one gets
// as much of it as fits, terminated, and nothing past its size.
void StoreIncompatibleMessage(char* buffer, std::size_t size) {
    if (!buffer || size == 0) return;
    const std::size_t count = size < sizeof(INCOMPATIBLE_MESSAGE) ? size - 1 : sizeof(INCOMPATIBLE_MESSAGE) - 1;
    std::memcpy(buffer, INCOMPATIBLE_MESSAGE, count);
    buffer[count] = '\0';
}

void LoadDisplayString(const DescriptorTable& table, const EditorHost* host, HostWord code,
                       char* buffer, HostWord hostSize) {
    const std::size_t size = HostBufferSize(hostSize);
    if (!IsHostCompatible(host)) {
        StoreIncompatibleMessage(buffer, size);
        return;
    }
    const AceDescriptor* row = FindDescriptor(table, code);
    if (row)
        LoadResourceText(row->displayStringId, buffer, size);
    else
        StoreEmptyText(buffer, size);
}

}  // namespace

extern "C" void WINAPI GetConditionString(const EditorHost* host, HostWord code, char* buffer,
                                          HostWord size) {
    LoadDisplayString(ConditionDescriptors, host, code, buffer, size);
}

extern "C" void WINAPI GetActionString(const EditorHost* host, HostWord code, char* buffer,
                                       HostWord size) {
    LoadDisplayString(ActionDescriptors, host, code, buffer, size);
}

extern "C" void WINAPI GetExpressionString(const EditorHost* host, HostWord code, char* buffer,
                                           HostWord size) {
    LoadDisplayString(ExpressionDescriptors, host, code, buffer, size);
}
