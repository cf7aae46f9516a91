// The catalogue as the editor sees it, read through the module's exports alone.
#pragma once

#include <string>
#include <vector>

#include "runtime/host_runtime.h"

struct MenuNode {
    std::string text;
    int id = 0;                    // command id, as GetMenuItemID gives it (-1 for a popup)
    bool separator = false;
    std::vector<MenuNode> children;   // a popup's items
};

// A popup's items are its children.
inline bool IsPopup(const MenuNode& node) {
    return node.id == -1;
}

struct CatalogueEntry {
    EntryKind kind;
    int code = 0;
    std::string displayString;
    std::vector<std::string> menuTexts;  // "Popup > Item" paths; empty when no menu item leads here
    std::uint16_t paramTypes[2] = {0, 0};
    std::string titles[2];
};

struct CatalogueView {
    PerKind<std::vector<CatalogueEntry>> entries;
    PerKind<std::vector<MenuNode>> menus;
};

// Reads counts from GetRunObjectInfos, then every row, string, title and menu.
CatalogueView ReadCatalogue(Host& host);

int ParameterCount(const CatalogueEntry& entry);
bool IsStringExpression(const CatalogueEntry& entry);

// The display text as the editor shows it: a condition's or an action's two leading digits
// dropped ("01Copy %s to %s" is "Copy %s to %s"); the first of them is 1 when the object's name
// fills the first %s.
std::string WithoutDigits(const std::string& display);

// An entry named by its code, its menu text, its display name or its display text without
// the two leading digits. Null when none matches.
const CatalogueEntry* FindEntry(const CatalogueView& view, EntryKind kind, const std::string& name);

// The names a script most often gives the entries of a kind: their menu items' texts, an
// expression's display name, the display text of an entry that no menu item leads to.
std::vector<std::string> EntryNames(const CatalogueView& view, EntryKind kind);
// The last step of a menu path: "Copy a file" of "File Actions > Copy a file".
std::string MenuLeaf(const std::string& menu);

// Reads a menu handle into a tree (the handle is not destroyed).
std::vector<MenuNode> ReadMenu(HMENU menu);
