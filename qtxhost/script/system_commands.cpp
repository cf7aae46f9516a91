// Script commands about the process the module runs in: its environment, its error mode, pipes
// it serves, and the behaviours it plays.
#include <cstdlib>

#include "system/played_behaviours.h"
#include "script/script_context.h"

namespace {

CommandResult CommandEnv(ScriptContext& context, Cursor& cursor) {
    std::string name;
    if (!TakeWord(context, cursor, name)) return Failed();
    const char* value = std::getenv(name.c_str());
    return Produce(value ? Value::Str(value) : Value{});
}

// setenv NAME TEXT: the process's environment, as the platform reads it (the temporary folder).
CommandResult CommandSetEnv(ScriptContext& context, Cursor& cursor) {
    std::string name, value;
    if (!TakeWord(context, cursor, name)) return Failed();
    if (!TakeText(context, cursor, value)) return Failed();
    if (!SetEnvironmentVariableA(name.c_str(), value.c_str())) return FailSaying(context, "cannot set " + name);
    return CommandResult{};
}

// pipe-server NAME: serves the pipe \\.\pipe\NAME until the host ends, and neither reads nor
// writes it; its 16-byte buffers fill at once, so a writer that waits for room waits for ever.
CommandResult CommandPipeServer(ScriptContext& context, Cursor& cursor) {
    constexpr DWORD BUFFER_BYTES = 16;
    std::string name;
    if (!TakeText(context, cursor, name)) return Failed();
    const std::string path = "\\\\.\\pipe\\" + name;
    HANDLE pipe = CreateNamedPipeA(path.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT,
                                   PIPE_UNLIMITED_INSTANCES, BUFFER_BYTES, BUFFER_BYTES, 0, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) return FailSaying(context, "cannot serve " + path);
    return CommandResult{};   // the handle stays open until the process ends
}

// "error-mode" gives the process's error mode; "error-mode N" sets it first.
CommandResult CommandErrorMode(ScriptContext& context, Cursor& cursor) {
    if (!cursor.AtEnd()) {
        std::int64_t mode = 0;
        if (!TakeInteger(context, cursor, mode)) return Failed();
        SetErrorMode(static_cast<UINT>(mode));
    }
    const UINT mode = SetErrorMode(0);
    SetErrorMode(mode);
    return Produce(Value::Int(mode));
}

// play NAME on|off: a behaviour of Windows that Wine lacks, played at the module's calls.
CommandResult CommandPlay(ScriptContext& context, Cursor& cursor) {
    std::string name;
    bool on = false;
    if (!TakeWord(context, cursor, name)) return Failed();
    if (!TakeOnOff(context, cursor, on)) return Failed();
    std::string error;
    if (!SwitchPlayedBehaviour(name, on, error)) return Fail(context, error);
    return CommandResult{};
}

constexpr ScriptCommand SYSTEM_COMMANDS[] = {
    {"env", CommandEnv},
    {"error-mode", CommandErrorMode},
    {"setenv", CommandSetEnv},
    {"pipe-server", CommandPipeServer},
    {"play", CommandPlay},
};

}  // namespace

const std::span<const ScriptCommand> SystemCommands = SYSTEM_COMMANDS;
