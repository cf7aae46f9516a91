// What the script commands share while a script runs.
#pragma once

#include <string>

#include "script.h"

struct ScriptContext {
    Host& host;
    CatalogueView view;
    RunInfos infos{};
    std::map<std::string, Value> variables;
    std::string error;                     // a script error: the line cannot be carried out
    std::string shown;                     // what the line did, as printed
};

// Result of one command: a value when it yields one.
struct CommandResult {
    bool ok = true;                        // false: script error, in context.error
    bool hasValue = false;
    Value value;
};

using CommandRoutine = CommandResult (*)(ScriptContext& context, Cursor& cursor);

struct ScriptCommand {
    const char* name;
    CommandRoutine run;
    const char* usage;
};

// The calls of conditions, actions and expressions.
CommandResult RunCondition(ScriptContext& context, Cursor& cursor);
CommandResult RunAction(ScriptContext& context, Cursor& cursor);
CommandResult RunExpression(ScriptContext& context, Cursor& cursor);

CommandResult Fail(ScriptContext& context, const std::string& message);
CommandResult Produce(Value value);
HostObject& Current(ScriptContext& context);

// Every command, host utilities included, with its usage line.
const ScriptCommand* FindCommand(const std::string& name);
const ScriptCommand* AllCommands(std::size_t& count);
