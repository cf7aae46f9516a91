// Menu command to code, and code to descriptor row, for the editor.
#include "catalogue/catalogue_exports.h"
#include "catalogue/descriptors.h"

namespace {

const std::uint16_t* CodeField(const DescriptorTable& table, HostWord code) {
    const AceDescriptor* row = FindDescriptor(table, code);
    return row ? &row->code : nullptr;
}

}  // namespace

extern "C" short WINAPI GetConditionCodeFromMenu(HostWord, HostWord commandId) {
    return static_cast<short>(CodeFromMenu(ConditionDescriptors, commandId));
}

extern "C" short WINAPI GetActionCodeFromMenu(HostWord, HostWord commandId) {
    return static_cast<short>(CodeFromMenu(ActionDescriptors, commandId));
}

extern "C" short WINAPI GetExpressionCodeFromMenu(HostWord, HostWord commandId) {
    return static_cast<short>(CodeFromMenu(ExpressionDescriptors, commandId));
}

// The host reads the row from its code field on: code, entryFlags, paramTypes, paramTitles.
extern "C" const std::uint16_t* WINAPI GetConditionInfos(HostWord, HostWord code) {
    return CodeField(ConditionDescriptors, code);
}

extern "C" const std::uint16_t* WINAPI GetActionInfos(HostWord, HostWord code) {
    return CodeField(ActionDescriptors, code);
}

extern "C" const std::uint16_t* WINAPI GetExpressionInfos(HostWord, HostWord code) {
    return CodeField(ExpressionDescriptors, code);
}
