// "qtxhost describe": the object's identity, menus and catalogue, all read through its exports.
#include "tools/describe.h"

#include <cstdio>

#include "runtime/catalogue_view.h"
#include "system/guarded_memory.h"

namespace {

constexpr int ABOUT_BUFFER = 255;   // the size the host gives GetObjInfos
constexpr int HIGHEST_INFO_QUERY = 8;

const char* ParameterTypeName(std::uint16_t type) {
    switch (type) {
        case PARAM_TYPE_TEXT: return "text";
        case PARAM_TYPE_NUMBER: return "number";
        case PARAM_TYPE_EXPRESSION_TEXT: return "text";
        case PARAM_TYPE_EXPRESSION_INTEGER: return "integer";
    }
    return "unknown";
}

// The five about-box strings, in the order GetObjInfos gives them.
constexpr int IDENTITY_STRINGS = 5;

void ReadIdentity(Host& host, std::string (&identity)[IDENTITY_STRINGS]) {
    char* about[IDENTITY_STRINGS];
    for (char*& buffer : about) buffer = static_cast<char*>(GuardedAlloc(ABOUT_BUFFER));
    host.api.GetObjInfos(0, 0, about[0], about[1], about[2], about[3], about[4]);
    for (int i = 0; i < IDENTITY_STRINGS; ++i) {
        identity[i].assign(about[i], strnlen(about[i], ABOUT_BUFFER));
        GuardedFree(about[i]);
    }
}

void PrintIdentity(Host& host) {
    std::string identity[IDENTITY_STRINGS];
    ReadIdentity(host, identity);
    const char* labels[IDENTITY_STRINGS] = {"name", "author", "legal notice", "description", "web address"};
    std::printf("Identity\n");
    for (int i = 0; i < IDENTITY_STRINGS; ++i) std::printf("  %-13s \"%s\"\n", labels[i], identity[i].c_str());
    std::printf("  %-13s \"%s\"\n", "help file", host.api.GetHelpFileName());
    std::printf("  %-13s", "GetInfos");
    for (int query = 0; query <= HIGHEST_INFO_QUERY; ++query) std::printf(" %d=%d", query, host.api.GetInfos(query));
    std::printf("\n");

    auto* edit = static_cast<EditData*>(GuardedAlloc(sizeof(EditData)));
    const int compatible = host.api.CreateObject(host.editorHost, 0, edit);
    std::printf("  %-13s %s (CreateObject answers %d, object %d x %d)\n", "editor host",
                compatible == 0 ? "compatible" : "not compatible", compatible, edit->width, edit->height);
    GuardedFree(edit);

    const RunInfos infos = QueryRunInfos(host.api);
    const std::uint32_t id = infos.identifier;
    std::printf("  %-13s %u conditions, %u actions, %u expressions, EditData %u bytes, RunData %d bytes, "
                "identifier %c%c%c%c\n", "run time", infos.conditionCount, infos.actionCount,
                infos.expressionCount, infos.editDataSize, host.api.GetRunObjectDataSize(0, 0),
                static_cast<char>(id >> 24), static_cast<char>(id >> 16), static_cast<char>(id >> 8),
                static_cast<char>(id));
}

void PrintMenu(const std::vector<MenuNode>& nodes, Host& host, EntryKind kind, int depth) {
    for (const MenuNode& node : nodes) {
        std::printf("%*s", 2 + depth * 2, "");
        if (node.separator) {
            std::printf("----\n");
        } else if (IsPopup(node)) {
            std::printf("%s\n", node.text.c_str());
            PrintMenu(node.children, host, kind, depth + 1);
        } else {
            const int code = host.api.GetCodeFromMenu[kind](0, node.id);
            std::printf("%-40s id %d -> %s %d\n", node.text.c_str(), node.id, KindName(kind), code);
        }
    }
}

// An expression's title (GetExpressionTitle), read through a guarded buffer.
std::string ExpressionTitle(Host& host, const CatalogueEntry& entry) {
    return ReadGuardedText(ABOUT_BUFFER,
                           [&](char* text) { host.api.GetExpressionTitle(0, entry.code, text, ABOUT_BUFFER); });
}

void PrintEntries(Host& host, const CatalogueView& view, EntryKind kind) {
    for (const CatalogueEntry& entry : view.entries[kind]) {
        const std::string display = ReadGuardedText(ABOUT_BUFFER, [&](char* text) {
            host.api.GetString[kind](host.editorHost, entry.code, text, ABOUT_BUFFER);
        });
        std::printf("  %2d  \"%s\"", entry.code, display.c_str());
        if (kind == EntryKind::EXPRESSION) std::printf("  title \"%s\"", ExpressionTitle(host, entry).c_str());
        std::printf("\n");
        for (int i = 0; i < ParameterCount(entry); ++i)
            std::printf("        parameter %d: %s \"%s\"\n", i + 1, ParameterTypeName(entry.paramTypes[i]),
                        entry.titles[i].c_str());
    }
}

// ---- The same catalogue for machines: one JSON document ----------------------------------

// A JSON string; bytes outside printable ASCII are written as \u00XX (the code page's Latin
// letters keep their numbers).
void PrintJsonString(const std::string& text) {
    std::putchar('"');
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\')
            std::printf("\\%c", c);
        else if (byte < 0x20 || byte >= 0x7F)
            std::printf("\\u%04x", byte);
        else
            std::putchar(c);
    }
    std::putchar('"');
}

void PrintJsonMenu(const std::vector<MenuNode>& nodes, Host& host, EntryKind kind) {
    std::printf("[");
    const char* comma = "";
    for (const MenuNode& node : nodes) {
        std::printf("%s{", comma);
        comma = ", ";
        if (node.separator) {
            std::printf("\"separator\": true}");
            continue;
        }
        std::printf("\"text\": ");
        PrintJsonString(node.text);
        if (IsPopup(node)) {
            std::printf(", \"items\": ");
            PrintJsonMenu(node.children, host, kind);
        } else {
            std::printf(", \"id\": %d, \"code\": %d", node.id,
                        host.api.GetCodeFromMenu[kind](0, node.id));
        }
        std::printf("}");
    }
    std::printf("]");
}

void PrintJsonEntry(Host& host, const CatalogueEntry& entry) {
    std::printf("{\"code\": %d, \"display\": ", entry.code);
    PrintJsonString(entry.displayString);
    if (entry.kind == EntryKind::EXPRESSION) {
        std::printf(", \"title\": ");
        PrintJsonString(ExpressionTitle(host, entry));
        std::printf(", \"result\": \"%s\"", IsStringExpression(entry) ? "text" : "integer");
    }
    std::printf(", \"menus\": [");
    for (std::size_t i = 0; i < entry.menuTexts.size(); ++i) {
        if (i) std::printf(", ");
        PrintJsonString(entry.menuTexts[i]);
    }
    std::printf("], \"parameters\": [");
    for (int i = 0; i < ParameterCount(entry); ++i) {
        std::printf("%s{\"type\": \"%s\", \"title\": ", i ? ", " : "", ParameterTypeName(entry.paramTypes[i]));
        PrintJsonString(entry.titles[i]);
        std::printf("}");
    }
    std::printf("]}");
}

}  // namespace

int Describe(Host& host) {
    const CatalogueView view = ReadCatalogue(host);
    PrintIdentity(host);
    const PerKind<const char*> menuNames = {{"Condition menu", "Action menu", "Expression menu"}};
    const PerKind<const char*> listNames = {{"Conditions", "Actions", "Expressions"}};
    for (const EntryKind kind : ENTRY_KINDS) {
        std::printf("\n%s\n", menuNames[kind]);
        PrintMenu(view.menus[kind], host, kind, 0);
    }
    for (const EntryKind kind : ENTRY_KINDS) {
        std::printf("\n%s\n", listNames[kind]);
        PrintEntries(host, view, kind);
    }
    return 0;
}

int DescribeJson(Host& host) {
    const CatalogueView view = ReadCatalogue(host);
    std::string identity[IDENTITY_STRINGS];
    ReadIdentity(host, identity);
    const char* keys[IDENTITY_STRINGS] = {"name", "author", "legalNotice", "description", "webAddress"};
    std::printf("{\"identity\": {");
    for (int i = 0; i < IDENTITY_STRINGS; ++i) {
        std::printf("\"%s\": ", keys[i]);
        PrintJsonString(identity[i]);
        std::printf(", ");
    }
    std::printf("\"helpFile\": ");
    PrintJsonString(host.api.GetHelpFileName());
    std::printf("}");
    for (const EntryKind kind : ENTRY_KINDS) {
        std::printf(",\n \"%s\": {\"menu\": ", KindName(kind));
        PrintJsonMenu(view.menus[kind], host, kind);
        std::printf(",\n  \"entries\": [");
        const char* separator = "\n   ";
        for (const CatalogueEntry& entry : view.entries[kind]) {
            std::printf("%s", separator);
            PrintJsonEntry(host, entry);
            separator = ",\n   ";
        }
        std::printf("]}");
    }
    std::printf("}\n");
    return 0;
}
