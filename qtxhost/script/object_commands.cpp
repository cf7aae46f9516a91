// Script commands about the running host: its objects and their records, and how its services
// answer (host strings, the selector hook, launches).
#include "script/script_context.h"

namespace {

CommandResult CommandTempStrings(ScriptContext& context, Cursor& cursor) {
    bool on = true;
    if (!TakeOnOff(context, cursor, on)) return Failed();
    context.host.tempStringsAvailable = on;
    return CommandResult{};
}

CommandResult CommandNoHook(ScriptContext& context, Cursor& cursor) {
    bool on = false;
    if (!TakeOnOff(context, cursor, on)) return Failed();
    std::uint8_t& flags = context.host.appHeader[NO_HOOK_FLAG_BYTE];
    flags = on ? (flags | NO_HOOK_FLAG_BIT) : (flags & ~NO_HOOK_FLAG_BIT);
    return CommandResult{};
}

CommandResult CommandObject(ScriptContext& context, Cursor& cursor) {
    std::string name;
    if (!TakeWord(context, cursor, name)) return Failed();
    if (FindHostObject(context.host, name)) return Fail(context, "an object " + name + " exists already");
    CreateHostObject(context.host, name);
    return CommandResult{};
}

CommandResult CommandUse(ScriptContext& context, Cursor& cursor) {
    std::string name;
    std::size_t index = 0;
    if (!TakeWord(context, cursor, name)) return Failed();
    if (!FindHostObject(context.host, name, &index)) return Fail(context, "no object " + name);
    context.host.current = index;
    return CommandResult{};
}

CommandResult CommandDestroy(ScriptContext& context, Cursor& cursor) {
    std::size_t index = context.host.current;
    std::string name;
    if (!cursor.AtEnd()) {
        if (!TakeWord(context, cursor, name)) return Failed();
        if (!FindHostObject(context.host, name, &index)) return Fail(context, "no object " + name);
    }
    if (context.host.objects.empty()) return Fail(context, "no object to destroy");
    DestroyHostObject(context.host, index);
    return CommandResult{};
}

// The text fields of the record as the object left them; NULs inside a list show as '|'.
std::string ListText(const char* field, std::size_t size) {
    std::string text;
    for (std::size_t i = 0; i < size; ++i) {
        if (field[i] == '\0' && (i + 1 >= size || field[i + 1] == '\0')) break;
        text += field[i] ? field[i] : '|';
    }
    return text;
}

CommandResult CommandField(ScriptContext& context, Cursor& cursor) {
    std::string name;
    if (!TakeWord(context, cursor, name)) return Failed();
    const RunData& rd = *Current(context).rd;
    if (name == "lastError") return Produce(Value::Int(rd.lastError));
    if (name == "filterIndex") return Produce(Value::Int(rd.filterIndex));
    if (name == "multiSelect") return Produce(Value::Int(rd.multiSelect));
    if (name == "selectorStyle") return Produce(Value::Int(rd.selectorStyle));
    if (name == "selectorBufferSize") return Produce(Value::Int(rd.selectorBufferSize));
    if (name == "selectorTitle") return Produce(Value::Str(std::string(rd.selectorTitle, strnlen(rd.selectorTitle, sizeof rd.selectorTitle))));
    if (name == "defaultExtension") return Produce(Value::Str(std::string(rd.defaultExtension, strnlen(rd.defaultExtension, sizeof rd.defaultExtension))));
    if (name == "initialDirectory") return Produce(Value::Str(std::string(rd.initialDirectory, strnlen(rd.initialDirectory, sizeof rd.initialDirectory))));
    if (name == "workPath") return Produce(rd.workPath ? Value::Str(std::string(rd.workPath, strnlen(rd.workPath, PATH_BUFFER_SIZE))) : Value{});
    if (name == "filterList") return Produce(Value::Str(ListText(rd.filterList, sizeof rd.filterList)));
    return Fail(context, "no field " + name);
}

CommandResult CommandLastLaunch(ScriptContext& context, Cursor&) {
    if (context.host.launches.empty()) return Produce(Value{});
    const LaunchRecord& record = context.host.launches.back();
    return Produce(Value::Str("flags=" + std::to_string(record.flags) + " program=" + record.programName +
                            " command=" + record.commandLine));
}

CommandResult CommandLaunchResult(ScriptContext& context, Cursor& cursor) {
    std::int64_t result = 0;
    if (!TakeInteger(context, cursor, result)) return Failed();
    context.host.launchResult = static_cast<std::int32_t>(result);
    return CommandResult{};
}

CommandResult CommandLaunchMode(ScriptContext& context, Cursor& cursor) {
    std::string word;
    if (!cursor.TakeWord(word) || (word != "record" && word != "start")) return Fail(context, "record or start expected");
    context.host.launchMode = word == "start" ? LaunchMode::START : LaunchMode::RECORD;
    return CommandResult{};
}

constexpr ScriptCommand OBJECT_COMMANDS[] = {
    {"object", CommandObject},
    {"use", CommandUse},
    {"destroy", CommandDestroy},
    {"field", CommandField},
    {"temp-strings", CommandTempStrings},
    {"no-hook", CommandNoHook},
    {"launch-result", CommandLaunchResult},
    {"last-launch", CommandLastLaunch},
    {"launch-mode", CommandLaunchMode},
};

}  // namespace

const std::span<const ScriptCommand> ObjectCommands = OBJECT_COMMANDS;
