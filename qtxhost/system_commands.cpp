// Script commands about the process the module runs in: its environment and its error mode.
#include <cstdlib>

#include "script_context.h"

namespace {

CommandResult CommandEnv(ScriptContext& context, Cursor& cursor) {
    std::string name;
    if (!cursor.TakeWord(name)) return Fail(context, cursor.error);
    const char* value = std::getenv(name.c_str());
    return Produce(value ? Value::Str(value) : Value{});
}

// "error-mode" gives the process's error mode; "error-mode N" sets it first.
CommandResult CommandErrorMode(ScriptContext& context, Cursor& cursor) {
    if (!cursor.AtEnd()) {
        std::int64_t mode = 0;
        if (!TakeInteger(context, cursor, mode)) return CommandResult{false, false, {}};
        SetErrorMode(static_cast<UINT>(mode));
    }
    const UINT mode = SetErrorMode(0);
    SetErrorMode(mode);
    return Produce(Value::Int(mode));
}

constexpr ScriptCommand kSystemCommands[] = {
    {"env", CommandEnv, "env NAME [-> EXPECTED] (an environment variable, null when unset)"},
    {"error-mode", CommandErrorMode, "error-mode [N] [-> EXPECTED]"},
};

}  // namespace

const std::span<const ScriptCommand> SystemCommands = kSystemCommands;
