// Parameter titles, with the entry's menu text standing in where a parameter has no title.
#include "catalogue/catalogue_exports.h"
#include "catalogue/descriptors.h"
#include "catalogue/resource_text.h"
#include "module/module_instance.h"

namespace {

constexpr std::size_t PARAMETER_SLOTS = 2;

// The title string id of one parameter; 0 when it has none or the index is out of range.
int ParameterTitleId(const AceDescriptor& row, HostWord index) {
    if (index < 0 || static_cast<std::size_t>(index) >= PARAMETER_SLOTS) return 0;
    return row.paramTitles[index];
}

// Copies the text of the item with this command id, searched through every nested popup.
void LoadMenuText(int menuResource, std::uint16_t menuId, char* buffer, std::size_t size) {
    HMENU menu = LoadMenuA(moduleInstance, MAKEINTRESOURCEA(menuResource));
    if (!menu) return;
    if (GetMenuStringA(menu, menuId, buffer, static_cast<int>(size), MF_BYCOMMAND)) TerminateWithin(buffer, size);
    DestroyMenu(menu);
}

void LoadEntryTitle(const DescriptorTable& table, HostWord code, HostWord index, char* buffer,
                    HostWord hostSize) {
    const std::size_t size = HostBufferSize(hostSize);
    if (!buffer || size == 0) return;
    const AceDescriptor* row = FindDescriptor(table, code);
    if (!row || index < 0 || static_cast<std::size_t>(index) >= PARAMETER_SLOTS) {
        StoreEmptyText(buffer, size);
        return;
    }
    if (const int titleId = ParameterTitleId(*row, index)) {
        LoadResourceText(titleId, buffer, size);
        return;
    }
    LoadMenuText(table.menuResource, row->menuId, buffer, size);
}

}  // namespace

extern "C" void WINAPI GetConditionTitle(HostWord, HostWord code, HostWord index, char* buffer,
                                         HostWord size) {
    LoadEntryTitle(ConditionDescriptors, code, index, buffer, size);
}

extern "C" void WINAPI GetActionTitle(HostWord, HostWord code, HostWord index, char* buffer,
                                      HostWord size) {
    LoadEntryTitle(ActionDescriptors, code, index, buffer, size);
}

extern "C" void WINAPI GetExpressionTitle(HostWord, HostWord code, char* buffer, HostWord size) {
    LoadEntryTitle(ExpressionDescriptors, code, 0, buffer, size);
}

// The expression's parameter title alone: no menu text stands in for a missing one.
extern "C" void WINAPI GetExpressionParam(HostWord, HostWord code, HostWord index, char* buffer,
                                          HostWord hostSize) {
    const std::size_t size = HostBufferSize(hostSize);
    const AceDescriptor* row = FindDescriptor(ExpressionDescriptors, code);
    const int titleId = row ? ParameterTitleId(*row, index) : 0;
    if (titleId)
        LoadResourceText(titleId, buffer, size);
    else
        StoreEmptyText(buffer, size);
}
