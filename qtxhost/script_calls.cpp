// The script lines that call conditions, actions and expressions.
#include "entry_calls.h"
#include "script_context.h"

namespace {

bool ReadEntry(ScriptContext& context, Cursor& cursor, EntryKind kind, const CatalogueEntry*& entry) {
    std::string name;
    if (!cursor.TakeWord(name)) {
        context.error = cursor.error;
        return false;
    }
    entry = FindEntry(context.view, kind, name);
    if (!entry) context.error = std::string("no ") + KindName(kind) + " is named \"" + name + "\"";
    return entry != nullptr;
}

bool ReadArguments(ScriptContext& context, Cursor& cursor, const CatalogueEntry& entry, std::vector<Value>& args) {
    while (!cursor.AtEnd()) {
        Value value;
        if (!cursor.TakeValue(value)) {
            context.error = cursor.error;
            return false;
        }
        args.push_back(value);
    }
    const int wanted = ParameterCount(entry);
    if (static_cast<int>(args.size()) != wanted) {
        context.error = std::string(KindName(entry.kind)) + " " + std::to_string(entry.code) + " takes " +
                        std::to_string(wanted) + " parameter(s), the line gives " + std::to_string(args.size());
        return false;
    }
    for (int i = 0; i < wanted; ++i) {
        const std::uint16_t type = entry.paramTypes[i];
        const bool wantsText = type == PARAM_TYPE_TEXT || type == PARAM_TYPE_EXPRESSION_TEXT;
        const bool isText = args[i].kind != Value::Kind::Integer;
        if (wantsText != isText) {
            // Appended piece by piece: GCC 12 warns of overlapping copies in "literal" + string.
            context.error = "parameter ";
            context.error.append(std::to_string(i + 1)).append(" must be ").append(wantsText ? "a text or null" : "a number");
            return false;
        }
    }
    return true;
}

std::string ShowCall(const CatalogueEntry& entry, const std::vector<Value>& args) {
    std::string shown = std::string(KindName(entry.kind)) + " " + std::to_string(entry.code) + " \"" +
                        entry.displayString + "\"(";
    for (std::size_t i = 0; i < args.size(); ++i) shown += (i ? ", " : "") + Show(args[i]);
    return shown + ")";
}

CommandResult Call(ScriptContext& context, Cursor& cursor, EntryKind kind) {
    const CatalogueEntry* entry = nullptr;
    std::vector<Value> args;
    if (!ReadEntry(context, cursor, kind, entry) || !ReadArguments(context, cursor, *entry, args))
        return Failed();
    const Value result = InvokeEntry(context.host, context.infos, Current(context).rd, *entry, args);
    context.shown = ShowCall(*entry, args);
    if (kind == EntryKind::Action) return CommandResult{};
    return Produce(result);
}

}  // namespace

CommandResult RunCondition(ScriptContext& context, Cursor& cursor) {
    return Call(context, cursor, EntryKind::Condition);
}

CommandResult RunAction(ScriptContext& context, Cursor& cursor) {
    return Call(context, cursor, EntryKind::Action);
}

CommandResult RunExpression(ScriptContext& context, Cursor& cursor) {
    return Call(context, cursor, EntryKind::Expression);
}
