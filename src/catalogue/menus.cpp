// The three menus handed to the editor: fresh popups copied from the module's menu resources.
#include "catalogue/catalogue_exports.h"
#include "catalogue/descriptors.h"
#include "catalogue/menus.h"
#include "module/module_instance.h"
#include "resources/resource_ids.h"

namespace {

constexpr int MENU_TEXT_SIZE = 80;     // so at most 79 characters of an item's text
constexpr UINT POPUP_ITEM_ID = 0xFFFFFFFF;
constexpr UINT SEPARATOR_ITEM_ID = 0;

// One item of the source, by position, appended to the destination.
void CopyMenuItem(HMENU destination, HMENU source, int position, char* text) {
    const UINT id = GetMenuItemID(source, position);
    if (id == SEPARATOR_ITEM_ID) {
        AppendMenuA(destination, MF_SEPARATOR, 0, nullptr);
        return;
    }
    GetMenuStringA(source, position, text, MENU_TEXT_SIZE, MF_BYPOSITION);
    text[MENU_TEXT_SIZE - 1] = '\0';   // at most 79 characters, whatever the platform wrote
    if (id == POPUP_ITEM_ID) {
        HMENU popup = CreatePopupMenu();
        AppendMenuA(destination, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), text);
        CopyMenuItems(popup, GetSubMenu(source, position));
        return;
    }
    const UINT state = GetMenuState(source, position, MF_BYPOSITION);
    AppendMenuA(destination, state, id, text);
}

HMENU LoadObjectMenu(int menuResource) {
    HMENU loaded = LoadMenuA(moduleInstance, MAKEINTRESOURCEA(menuResource));
    if (!loaded) return nullptr;
    HMENU copy = nullptr;
    if (HMENU popup = GetSubMenu(loaded, 0)) {
        copy = CreatePopupMenu();
        if (copy) CopyMenuItems(copy, popup);
    }
    DestroyMenu(loaded);
    return copy;
}

}  // namespace

// One text buffer serves a whole level; without it the level is left empty rather than
// copied with unknown texts.
void CopyMenuItems(HMENU destination, HMENU source) {
    if (!destination || !source) return;
    const int count = GetMenuItemCount(source);
    char* text = static_cast<char*>(LocalAlloc(LPTR, MENU_TEXT_SIZE));
    if (!text) return;
    for (int position = 0; position < count; ++position) CopyMenuItem(destination, source, position, text);
    LocalFree(text);
}

extern "C" HMENU WINAPI GetConditionMenu(HostWord, HostWord, HostWord) {
    return LoadObjectMenu(IDM_CONDITION_MENU);
}

extern "C" HMENU WINAPI GetActionMenu(HostWord, HostWord, HostWord) {
    return LoadObjectMenu(IDM_ACTION_MENU);
}

extern "C" HMENU WINAPI GetExpressionMenu(HostWord, HostWord, HostWord) {
    return LoadObjectMenu(IDM_EXPRESSION_MENU);
}
