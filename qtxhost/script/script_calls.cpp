// The script lines that call conditions, actions and expressions.
#include "catalogue/entry_codes.h"
#include "error_titles.h"
#include "runtime/entry_calls.h"
#include "script/script_check.h"
#include "script/script_context.h"
#include "system/line_watchdog.h"

namespace {

// Entries that may take longer than a line's few seconds: a dialog waits for the dialog driver,
// a copy for the data, a launch for the program it waits for.
constexpr unsigned DIALOG_SECONDS = 120;
constexpr unsigned COPY_SECONDS = 60;
constexpr unsigned LAUNCH_SECONDS = 60;

struct EntryLimit {
    EntryKind kind;
    int code;
    unsigned seconds;
};

constexpr EntryLimit LONGER_ENTRIES[] = {
    {EntryKind::ACTION, ACTION_RENAME_FILE, COPY_SECONDS},
    {EntryKind::ACTION, ACTION_APPEND_FILE, COPY_SECONDS},
    {EntryKind::ACTION, ACTION_COPY_FILE, COPY_SECONDS},
    {EntryKind::ACTION, ACTION_MOVE_FILE, COPY_SECONDS},
    {EntryKind::ACTION, ACTION_RUN_APPLICATION, LAUNCH_SECONDS},
    {EntryKind::ACTION, ACTION_OPEN_LOAD_SELECTOR, DIALOG_SECONDS},
    {EntryKind::ACTION, ACTION_OPEN_SAVE_SELECTOR, DIALOG_SECONDS},
    {EntryKind::ACTION, ACTION_OPEN_DIRECTORY_SELECTOR, DIALOG_SECONDS},
};

// The line's limit once it is known to call this entry: 0 keeps the line's own.
unsigned LimitOf(const CatalogueEntry& entry) {
    for (const EntryLimit& limit : LONGER_ENTRIES)
        if (limit.kind == entry.kind && limit.code == entry.code) return limit.seconds;
    return 0;
}

bool ReadEntry(ScriptContext& context, Cursor& cursor, EntryKind kind, const CatalogueEntry*& entry) {
    std::string name;
    if (!TakeWord(context, cursor, name)) return false;
    entry = FindEntry(context.view, kind, name);
    if (!entry)
        context.error = std::string("no ") + KindName(kind) + " is named \"" + name + "\" (did you mean " +
                        NearestNames(name, EntryNames(context.view, kind)) + "?)";
    return entry != nullptr;
}

// The entry as its menu names it (the last item of its first menu path), else its display string.
std::string EntryName(const CatalogueEntry& entry) {
    return entry.menuTexts.empty() ? entry.displayString : MenuLeaf(entry.menuTexts.front());
}

// " ("Source file name", "Destination file name")": the titles of the entry's parameters, or ""
// when it gives none.
std::string ParameterTitles(const CatalogueEntry& entry, int count) {
    std::string titles;
    for (int i = 0; i < count; ++i)
        if (!entry.titles[i].empty()) titles += (titles.empty() ? " (\"" : ", \"") + entry.titles[i] + "\"";
    return titles.empty() ? titles : titles + ")";
}

// A parameter the check before the run cannot type: a variable whose command has not run yet.
bool Untyped(const ScriptContext& context, const Cursor& cursor) {
    const Token& token = cursor.tokens[cursor.pos];
    return token.kind == TokenKind::WORD && token.text[0] == '$' && context.untyped.count(token.text.substr(1));
}

bool ReadArguments(ScriptContext& context, Cursor& cursor, const CatalogueEntry& entry, std::vector<Value>& args) {
    std::vector<bool> untyped;
    while (!cursor.AtEnd()) {
        untyped.push_back(Untyped(context, cursor));
        Value value;
        if (!TakeValue(context, cursor, value)) return false;
        args.push_back(value);
    }
    const int wanted = ParameterCount(entry);
    if (static_cast<int>(args.size()) != wanted) {
        context.error = std::string(KindName(entry.kind)) + " \"" + EntryName(entry) + "\" takes " +
                        std::to_string(wanted) + (wanted == 1 ? " parameter" : " parameters") +
                        ParameterTitles(entry, wanted) + ", the line gives " + std::to_string(args.size());
        return false;
    }
    for (int i = 0; i < wanted; ++i) {
        const std::uint16_t type = entry.paramTypes[i];
        const bool wantsText = type == PARAM_TYPE_TEXT || type == PARAM_TYPE_EXPRESSION_TEXT;
        const bool isText = args[i].kind != Value::Kind::INTEGER;
        if (wantsText != isText && !untyped[i]) {
            // Appended piece by piece: GCC 12 warns of overlapping copies in "literal" + string.
            context.error = "parameter ";
            context.error.append(std::to_string(i + 1)).append(" of \"").append(EntryName(entry)).append("\"");
            if (!entry.titles[i].empty()) context.error.append(" (\"").append(entry.titles[i]).append("\")");
            context.error.append(" must be ").append(wantsText ? "a text or null" : "a number");
            return false;
        }
    }
    return true;
}

// The entry a line calls and the parameters it gives, fit for the entry.
bool ReadCall(ScriptContext& context, Cursor& cursor, EntryKind kind, const CatalogueEntry*& entry,
              std::vector<Value>& args) {
    return ReadEntry(context, cursor, kind, entry) && ReadArguments(context, cursor, *entry, args);
}

// What the object's last error holds after an action, in the help's words: "" while it is 0, so
// that a failure shows on the line where it happens.
std::string LastErrorNote(const RunData* rd) {
    const auto number = static_cast<std::int32_t>(rd ? rd->lastError : 0);
    if (number == 0) return "";
    std::string note = "-> last error " + std::to_string(number);
    for (const ErrorTitle& row : ERROR_TITLES)
        if (row.number == number) note += std::string(": ") + row.title;
    return note;
}

// The call, read before the line runs; a dialog needs a display, which the host has when it could
// make the window that owns the dialogs.
CommandResult CheckCall(ScriptContext& context, Cursor& cursor, EntryKind kind) {
    const CatalogueEntry* entry = nullptr;
    std::vector<Value> args;
    if (!ReadCall(context, cursor, kind, entry, args)) return Failed();
    if (LimitOf(*entry) == DIALOG_SECONDS && !context.host.runHeader->mainWindow)
        return Fail(context, "no display: the host could not make a window, so no dialog can open "
                             "(run qtxhost on a desktop; under Wine, set DISPLAY to a running X display)");
    return CommandResult{};
}

CommandResult Call(ScriptContext& context, Cursor& cursor, EntryKind kind) {
    const CatalogueEntry* entry = nullptr;
    std::vector<Value> args;
    if (!ReadCall(context, cursor, kind, entry, args)) return Failed();
    context.shown = WrittenCall(*entry, args, Current(context).name);
    WatchCall(context.shown, LimitOf(*entry));
    const Value result = InvokeEntry(context.host, context.infos, Current(context).rd, *entry, args);
    if (kind != EntryKind::ACTION) return Produce(result);
    context.note = LastErrorNote(Current(context).rd);
    return CommandResult{};
}

}  // namespace

template <EntryKind kind>
CommandResult RunEntry(ScriptContext& context, Cursor& cursor) {
    return Call(context, cursor, kind);
}

template <EntryKind kind>
CommandResult CheckEntry(ScriptContext& context, Cursor& cursor) {
    return CheckCall(context, cursor, kind);
}

template CommandResult RunEntry<EntryKind::CONDITION>(ScriptContext&, Cursor&);
template CommandResult RunEntry<EntryKind::ACTION>(ScriptContext&, Cursor&);
template CommandResult RunEntry<EntryKind::EXPRESSION>(ScriptContext&, Cursor&);
template CommandResult CheckEntry<EntryKind::CONDITION>(ScriptContext&, Cursor&);
template CommandResult CheckEntry<EntryKind::ACTION>(ScriptContext&, Cursor&);
template CommandResult CheckEntry<EntryKind::EXPRESSION>(ScriptContext&, Cursor&);
