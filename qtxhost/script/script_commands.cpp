// The script's own commands: calls of the object's entries, variables, echo.
#include "script/script_context.h"

namespace {

CommandResult CommandSet(ScriptContext& context, Cursor& cursor) {
    std::string name;
    Value value;
    if (!TakeWord(context, cursor, name)) return Failed();
    if (!TakeValue(context, cursor, value)) return Failed();
    context.variables[name] = value;
    return CommandResult{};
}

CommandResult CommandEcho(ScriptContext& context, Cursor& cursor) {
    std::string line;
    while (!cursor.AtEnd()) {
        Value value;
        if (!TakeValue(context, cursor, value)) return Failed();
        if (!line.empty()) line += ' ';
        line += value.kind == Value::Kind::TEXT ? value.text : Show(value);
    }
    context.shown = line;
    return CommandResult{};
}

constexpr ScriptCommand SCRIPT_COMMANDS[] = {
    {"condition", RunEntry<EntryKind::CONDITION>, CheckEntry<EntryKind::CONDITION>},
    {"action", RunEntry<EntryKind::ACTION>, CheckEntry<EntryKind::ACTION>},
    {"expression", RunEntry<EntryKind::EXPRESSION>, CheckEntry<EntryKind::EXPRESSION>},
    {"echo", CommandEcho},
    {"set", CommandSet},
};

}  // namespace

const std::span<const ScriptCommand> ScriptCommands = SCRIPT_COMMANDS;
