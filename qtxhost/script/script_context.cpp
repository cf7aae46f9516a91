// What the command files share: the readers of a line's parameters, a command's results, the
// current object, and the lookup of a command by name.
#include "script/script_context.h"

#include <cerrno>
#include <cstring>
#include <string_view>

#include "command_descriptions.h"
#include "system/windows_errors.h"

bool TakeWord(ScriptContext& context, Cursor& cursor, std::string& word) {
    if (cursor.TakeWord(word)) return true;
    context.error = cursor.error;
    return false;
}

bool TakeValue(ScriptContext& context, Cursor& cursor, Value& value) {
    if (cursor.TakeValue(value)) return true;
    context.error = cursor.error;
    return false;
}

bool TakeText(ScriptContext& context, Cursor& cursor, std::string& text) {
    Value value;
    if (!TakeValue(context, cursor, value)) return false;
    if (value.kind != Value::Kind::TEXT) {
        context.error = "a text is expected";
        return false;
    }
    text = value.text;
    return true;
}

bool TakeInteger(ScriptContext& context, Cursor& cursor, std::int64_t& number) {
    if (cursor.TakeInteger(number)) return true;
    context.error = cursor.error;
    return false;
}

bool TakeOnOff(ScriptContext& context, Cursor& cursor, bool& on) {
    std::string word;
    if (!cursor.TakeWord(word) || (word != "on" && word != "off")) {
        context.error = "on or off expected";
        return false;
    }
    on = word == "on";
    return true;
}

CommandResult Fail(ScriptContext& context, const std::string& message) {
    context.error = message;
    return Failed();
}

CommandResult Failed() {
    return CommandResult{false, false, {}};
}

CommandResult FailSaying(ScriptContext& context, const std::string& message) {
    return Fail(context, message + " (" + WindowsReason(GetLastError()) + ")");
}

CommandResult FailSayingErrno(ScriptContext& context, const std::string& message) {
    return Fail(context, message + " (" + std::strerror(errno) + ")");
}

CommandResult Produce(Value value) {
    return CommandResult{true, true, std::move(value)};
}

HostObject& Current(ScriptContext& context) {
    if (context.host.objects.empty()) CreateHostObject(context.host, FIRST_OBJECT_NAME);
    return *CurrentObject(context.host);
}

std::span<const std::span<const ScriptCommand>> CommandTables() {
    static const std::span<const ScriptCommand> tables[] = {ScriptCommands, EditorCommands, ObjectCommands,
                                                            FileCommands, SelectorCommands, SystemCommands};
    return tables;
}

namespace {

// The name a row of the description describes: the first word of its usage. Rows of the
// program's own command line and options start with "qtxhost" or a dash; `let` is the script's
// syntax, not a command.
std::string_view DescribedName(const CommandDescription& row) {
    const std::string_view usage = row.usage;
    return usage.substr(0, usage.find(' '));
}

bool DescribesScriptCommand(const CommandDescription& row) {
    const std::string_view name = DescribedName(row);
    return name != "qtxhost" && name != "let" && !name.starts_with('-');
}

}  // namespace

const char* UsageOf(const ScriptCommand& command) {
    for (const CommandDescription& row : COMMAND_DESCRIPTIONS)
        if (DescribesScriptCommand(row) && DescribedName(row) == command.name) return row.usage;
    return "";
}

std::string UndescribedCommands() {
    std::string missing;
    for (const std::span<const ScriptCommand>& table : CommandTables())
        for (const ScriptCommand& command : table)
            if (!*UsageOf(command)) missing += std::string("command ") + command.name + " has no row in commands.txt\n";
    for (const CommandDescription& row : COMMAND_DESCRIPTIONS)
        if (DescribesScriptCommand(row) && !FindCommand(std::string(DescribedName(row))))
            missing += "commands.txt describes " + std::string(DescribedName(row)) + ", which no command is\n";
    return missing;
}

const ScriptCommand* FindCommand(const std::string& name) {
    for (const std::span<const ScriptCommand>& table : CommandTables())
        for (const ScriptCommand& command : table)
            if (name == command.name) return &command;
    return nullptr;
}
