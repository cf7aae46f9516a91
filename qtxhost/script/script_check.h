// A script line is checked whole before any of it runs: its form, its command, its parameters
// against the command's usage, an entry call's entry and parameters, and its expectation. A line
// found wrong runs not at all, and its message ends with the usage of its command.
#pragma once

#include <string>
#include <vector>

#include "script/script_context.h"

// The command of a line checked whole, with where its parameters start and the variable a
// `let` keeps its result in; false with context.error and context.usage set.
bool CheckLine(ScriptContext& context, const std::vector<Token>& tokens, const ScriptCommand*& command,
               std::size_t& parameters, std::string& variable);

// The usage of the command a line that cannot be read starts with (or of the nearest command);
// empty when the line names none.
std::string UsageOfLine(const std::string& line);

// "a", "b" or "c": the three names nearest to a misspelt one (fewest letters to change).
std::string NearestNames(const std::string& name, const std::vector<std::string>& names);

// What follows "->": "[not] [like|length] VALUE". The words are read here, for the check and the
// run alike; each then takes the value its own way.
enum class ExpectationMode { IS, LIKE, LENGTH };
struct Expectation {
    bool negated = false;
    ExpectationMode mode = ExpectationMode::IS;
};

// Reads "[not] [like|length]" after the arrow; the cursor then stands at the value.
Expectation ReadExpectationWords(Cursor& cursor);

// "like " or "length " as a failure report writes the mode, "" for IS.
std::string ModeWord(ExpectationMode mode);
