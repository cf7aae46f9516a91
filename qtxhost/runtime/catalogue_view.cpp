#include "runtime/catalogue_view.h"

#include <cctype>
#include <cstdlib>

#include "system/guarded_memory.h"

namespace {

constexpr int TEXT_BUFFER = 512;

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
        HMENU menu = host.api.GetMenu[kind](0, 0, 0);
        if (!menu) continue;
        view.menus[kind] = ReadMenu(menu);
        DestroyMenu(menu);
        std::vector<std::pair<int, std::string>> texts;
        CollectMenuTexts(view.menus[kind], texts, "");
        for (const auto& [id, text] : texts) {
            const int code = host.api.GetCodeFromMenu[kind](0, id);
            if (code >= 0 && code < counts[kind]) view.entries[kind][code].menuTexts.push_back(text);
        }
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
