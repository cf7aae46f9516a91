// What the script commands share while a script runs.
#pragma once

#include <map>
#include <set>
#include <span>
#include <string>

#include "runtime/catalogue_view.h"
#include "runtime/script_values.h"

struct ScriptContext {
    Host& host;
    CatalogueView view;
    RunInfos infos{};
    std::map<std::string, Value> variables;
    std::string error;                     // a script error: the line cannot be carried out
    std::string usage;                     // the usage of the line's command, said with its error
    std::string shown;                     // what the line did, as printed
    std::string note;                      // said below the line: an action's last error, when set
    std::set<std::string> untyped;         // while the script is checked: variables of either type
};

// Result of one command: a value when it yields one.
struct CommandResult {
    bool ok = true;                        // false: script error, in context.error
    bool hasValue = false;
    Value value;
};

using CommandRoutine = CommandResult (*)(ScriptContext& context, Cursor& cursor);

// A command's usage, in its row of commands.txt, is the pattern its lines are checked against
// before they run (script_check.h): it shows "[-> EXPECTED]" exactly when the command gives a value.
struct ScriptCommand {
    const char* name;
    CommandRoutine run;
    CommandRoutine check = nullptr;        // what else a line is checked for: an entry call's entry
};

// The calls of conditions, actions and expressions, and their checks before they run: the
// entry, its parameters, and a display for a dialog.
template <EntryKind kind>
CommandResult RunEntry(ScriptContext& context, Cursor& cursor);
template <EntryKind kind>
CommandResult CheckEntry(ScriptContext& context, Cursor& cursor);

// The line cannot be carried out: Fail says why, Failed leaves the reason a helper already gave.
CommandResult Fail(ScriptContext& context, const std::string& message);
// Fail, with the reason Windows gave for its last failed call: "cannot create a (error 5: ...)".
CommandResult FailSaying(ScriptContext& context, const std::string& message);
// Fail, with the reason the C library gave in errno: "cannot enter a (No such file or directory)".
CommandResult FailSayingErrno(ScriptContext& context, const std::string& message);
CommandResult Failed();
CommandResult Produce(Value value);
HostObject& Current(ScriptContext& context);

// The commands, by concern: the script's own, the editor's, the running host's, files prepared
// on disk, the selectors' dialogs, the process.
extern const std::span<const ScriptCommand> ScriptCommands;     // script_commands.cpp
extern const std::span<const ScriptCommand> EditorCommands;     // editor_commands.cpp
extern const std::span<const ScriptCommand> ObjectCommands;     // object_commands.cpp
extern const std::span<const ScriptCommand> FileCommands;       // file_commands.cpp
extern const std::span<const ScriptCommand> SelectorCommands;   // selector_commands.cpp
extern const std::span<const ScriptCommand> SystemCommands;     // system_commands.cpp

// Every table above, in the order a command's name is looked up.
std::span<const std::span<const ScriptCommand>> CommandTables();
const ScriptCommand* FindCommand(const std::string& name);

// The usage of a command, from its description; "" for none.
const char* UsageOf(const ScriptCommand& command);

// The commands without a description and the script rows of the description without a command,
// one line each: qtxhost refuses to start while there is any.
std::string UndescribedCommands();

// Helpers the command files share: each takes what its name says, or leaves why not in context.error.
bool TakeWord(ScriptContext& context, Cursor& cursor, std::string& word);
bool TakeValue(ScriptContext& context, Cursor& cursor, Value& value);
bool TakeText(ScriptContext& context, Cursor& cursor, std::string& text);
bool TakeInteger(ScriptContext& context, Cursor& cursor, std::int64_t& number);
bool TakeOnOff(ScriptContext& context, Cursor& cursor, bool& on);
