#include "runtime/catalogue_view.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "system/guarded_memory.h"
#include "system/windows_errors.h"

namespace {

constexpr int TEXT_BUFFER = 512;
constexpr int MENU_READS = 3;
constexpr DWORD MENU_READ_PAUSE_MS = 200;

std::string MenuItemText(HMENU menu, int position) {
    char text[TEXT_BUFFER] = "";
    GetMenuStringA(menu, position, text, TEXT_BUFFER, MF_BYPOSITION);
    return text;
}

void CollectMenuTexts(const std::vector<MenuNode>& nodes, std::vector<std::pair<int, std::string>>& out,
                      const std::string& prefix) {
    for (const MenuNode& node : nodes) {
        if (node.separator) continue;
        if (IsPopup(node))
            CollectMenuTexts(node.children, out, prefix + node.text + " > ");
        else
            out.emplace_back(node.id, prefix + node.text);
    }
}

std::string LoadTitle(Host& host, EntryKind kind, int code, int index) {
    return ReadGuardedText(TEXT_BUFFER, [&](char* text) {
        if (kind == EntryKind::EXPRESSION)
            host.api.GetExpressionParam(0, code, index, text, TEXT_BUFFER);
        else
            host.api.GetTitle[kind](0, code, index, text, TEXT_BUFFER);
    });
}

CatalogueEntry ReadEntry(Host& host, EntryKind kind, int code) {
    CatalogueEntry entry{kind, code, {}, {}, {}, {}};
    entry.displayString = ReadGuardedText(
        TEXT_BUFFER, [&](char* text) { host.api.GetString[kind](host.compatibleEditor, code, text, TEXT_BUFFER); });
    if (const std::uint16_t* row = host.api.GetInfosOf[kind](0, code)) {
        // From the code field on: code, entryFlags, paramTypes[2].
        entry.paramTypes[0] = row[2];
        entry.paramTypes[1] = row[3];
    }
    for (int i = 0; i < ParameterCount(entry); ++i) entry.titles[i] = LoadTitle(host, kind, code, i);
    return entry;
}

// The kind's menu, read into the view: false when the module gave none, or one whose items lead
// to no entry.
bool ReadKindMenu(Host& host, EntryKind kind, CatalogueView& view) {
    std::vector<CatalogueEntry>& entries = view.entries[kind];
    HMENU menu = host.api.GetMenu[kind](0, 0, 0);
    if (!menu) return false;
    view.menus[kind] = ReadMenu(menu);
    DestroyMenu(menu);
    std::vector<std::pair<int, std::string>> texts;
    CollectMenuTexts(view.menus[kind], texts, "");
    bool leads = false;
    for (const auto& [id, text] : texts) {
        const int code = host.api.GetCodeFromMenu[kind](0, id);
        if (code < 0 || code >= static_cast<int>(entries.size())) continue;
        entries[code].menuTexts.push_back(text);
        leads = true;
    }
    return leads;
}

// Wine once gave a menu that led nowhere in one process of many (a script then named no entry):
// the menu is read again a few times, and what went wrong is said on the error stream.
void ReadMenuOfKind(Host& host, EntryKind kind, CatalogueView& view) {
    if (view.entries[kind].empty()) return;
    for (int attempt = 1; attempt <= MENU_READS; ++attempt) {
        SetLastError(ERROR_SUCCESS);
        if (ReadKindMenu(host, kind, view)) return;
        const DWORD error = GetLastError();
        std::fprintf(stderr, "qtxhost: the module's %s menu leads to no %s (%s)%s\n", KindName(kind), KindName(kind),
                     WindowsReason(error).c_str(), attempt < MENU_READS ? "; reading it again" : "");
        if (attempt < MENU_READS) Sleep(MENU_READ_PAUSE_MS);
    }
}

}  // namespace

std::string WithoutDigits(const std::string& display) {
    if (display.size() >= 2 && std::isdigit(static_cast<unsigned char>(display[0])) &&
        std::isdigit(static_cast<unsigned char>(display[1])))
        return display.substr(2);
    return display;
}

std::vector<MenuNode> ReadMenu(HMENU menu) {
    std::vector<MenuNode> nodes;
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        MenuNode node;
        node.id = static_cast<int>(GetMenuItemID(menu, position));
        // GetMenuState puts a popup's item count in its high byte, so the type is asked instead.
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        GetMenuItemInfoA(menu, position, TRUE, &info);
        node.separator = !IsPopup(node) && (info.fType & MFT_SEPARATOR) != 0;
        if (!node.separator) node.text = MenuItemText(menu, position);
        if (IsPopup(node)) node.children = ReadMenu(GetSubMenu(menu, position));
        nodes.push_back(node);
    }
    return nodes;
}

int ParameterCount(const CatalogueEntry& entry) {
    return (entry.paramTypes[0] ? 1 : 0) + (entry.paramTypes[1] ? 1 : 0);
}

bool IsStringExpression(const CatalogueEntry& entry) {
    return entry.displayString.find("$(") != std::string::npos;
}

CatalogueView ReadCatalogue(Host& host) {
    CatalogueView view;
    const RunInfos infos = QueryRunInfos(host.api);
    const PerKind<int> counts = {{infos.conditionCount, infos.actionCount, infos.expressionCount}};
    for (const EntryKind kind : ENTRY_KINDS) {
        for (int code = 0; code < counts[kind]; ++code) view.entries[kind].push_back(ReadEntry(host, kind, code));
        ReadMenuOfKind(host, kind, view);
    }
    return view;
}

std::string MenuLeaf(const std::string& menu) {
    const std::size_t lastStep = menu.rfind(" > ");
    return lastStep == std::string::npos ? menu : menu.substr(lastStep + 3);
}

std::vector<std::string> EntryNames(const CatalogueView& view, EntryKind kind) {
    std::vector<std::string> names;
    for (const CatalogueEntry& entry : view.entries[kind]) {
        for (const std::string& menu : entry.menuTexts) names.push_back(MenuLeaf(menu));
        if (kind == EntryKind::EXPRESSION || entry.menuTexts.empty()) names.push_back(WithoutDigits(entry.displayString));
    }
    return names;
}

const CatalogueEntry* FindEntry(const CatalogueView& view, EntryKind kind, const std::string& name) {
    const auto& entries = view.entries[kind];
    char* end = nullptr;
    const long code = std::strtol(name.c_str(), &end, 10);
    if (!name.empty() && *end == '\0') return (code >= 0 && code < static_cast<long>(entries.size())) ? &entries[code] : nullptr;
    for (const CatalogueEntry& entry : entries) {
        if (name == entry.displayString || name == WithoutDigits(entry.displayString)) return &entry;
        for (const std::string& menu : entry.menuTexts)
            if (name == menu || name == MenuLeaf(menu)) return &entry;
    }
    return nullptr;
}
