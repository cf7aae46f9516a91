#include "script/script.h"

#include <direct.h>
#include <cstdio>
#include <fstream>

#include "system/line_watchdog.h"
#include "system/played_behaviours.h"
#include "system/scratch_directory.h"
#include "script/script_check.h"
#include "script/script_context.h"

namespace {

// How long a line may run before the watchdog stops the script: a few seconds. Entry calls that
// open a dialog, copy files or wait for a program have limits of their own (script_calls.cpp).
constexpr unsigned LINE_SECONDS = 10;

// The scratch directory, for the watchdog to remove when a line overruns.
std::string scratchPath;

void RemoveScratch() {
    if (!scratchPath.empty()) LeaveScratchDirectory(scratchPath);
}

enum class LineOutcome { PASSED, FAILED, SCRIPT_ERROR };

// "-> VALUE", "-> like PATTERN" or "-> length N", each of them negated by a leading "not".
bool CheckExpectation(ScriptContext& context, Cursor& cursor, const Value& got, std::string& failure) {
    const Expectation expectation = ReadExpectationWords(cursor);
    Value expected;
    if (!TakeValue(context, cursor, expected)) return false;
    // "like" and "length" apply to texts only: any other result fails them, negated or not.
    bool applies = true, met = false;
    if (expectation.mode == ExpectationMode::LIKE) {
        applies = got.kind == Value::Kind::TEXT && expected.kind == Value::Kind::TEXT;
        met = applies && Like(expected.text, got.text);
    } else if (expectation.mode == ExpectationMode::LENGTH) {
        applies = got.kind == Value::Kind::TEXT && expected.kind == Value::Kind::INTEGER;
        met = applies && static_cast<std::int64_t>(got.text.size()) == expected.number;
    } else {
        met = SameValue(expected, got);
    }
    if (!applies || met == expectation.negated) {
        const bool counted = expectation.mode == ExpectationMode::LENGTH && applies;
        const std::string shownGot = counted ? std::to_string(got.text.size()) + " characters" : Show(got);
        failure = "expected " + std::string(expectation.negated ? "not " : "") + ModeWord(expectation.mode) +
                  Show(expected) + ", got " + shownGot;
    }
    return true;
}

// The command part of a line, as written, for the report.
std::string LineText(const std::vector<Token>& tokens) {
    std::string text;
    for (const Token& token : tokens) {
        if (token.kind == TokenKind::ARROW) break;
        text += (text.empty() ? "" : " ") + (token.kind == TokenKind::TEXT ? Show(Value::Str(token.text)) : token.text);
    }
    return text;
}

// A line of the script, and what the check before the run found in it.
struct ScriptLine {
    int number;
    std::string text;
    std::vector<Token> tokens;
    const ScriptCommand* command = nullptr;   // null for a line that holds nothing
    std::size_t parameters = 0;               // where its parameters start
    std::string variable;                     // what a `let` keeps its result in
};

// A line the whole script's check passed. What only its run can find (a kept value of the wrong
// type, a file it cannot make) is the command's own refusal.
LineOutcome RunLine(ScriptContext& context, const ScriptLine& line) {
    const std::vector<Token>& tokens = line.tokens;
    const int lineNumber = line.number;
    context.usage = UsageOf(*line.command);
    Cursor cursor{tokens, line.parameters, context.variables, {}};
    context.shown.clear();
    context.note.clear();
    context.host.protocolErrors.clear();
    ReclaimTempStrings(context.host);
    WatchLine(lineNumber, LineText(tokens), LINE_SECONDS);
    const CommandResult result = line.command->run(context, cursor);
    LineDone();
    if (!result.ok) return LineOutcome::SCRIPT_ERROR;
    if (context.shown.empty()) context.shown = LineText(tokens);
    std::printf("%d: %s", lineNumber, context.shown.c_str());
    if (result.hasValue) std::printf(" = %s", Show(result.value).c_str());
    std::printf("\n");
    if (!context.note.empty()) std::printf("%d: %s\n", lineNumber, context.note.c_str());
    if (!line.variable.empty()) context.variables[line.variable] = result.value;

    LineOutcome outcome = LineOutcome::PASSED;
    for (const std::string& problem : context.host.protocolErrors) {
        std::printf("%d: FAIL: host protocol: %s\n", lineNumber, problem.c_str());
        outcome = LineOutcome::FAILED;
    }
    if (cursor.pos < tokens.size() && tokens[cursor.pos].kind == TokenKind::ARROW) {
        ++cursor.pos;
        std::string failure;
        if (!CheckExpectation(context, cursor, result.value, failure)) return LineOutcome::SCRIPT_ERROR;
        if (!failure.empty()) {
            std::printf("%d: FAIL: %s\n", lineNumber, failure.c_str());
            outcome = LineOutcome::FAILED;
        }
    }
    return outcome;
}

// Every line of the script, numbered; false when the file cannot be read.
bool ReadLines(const std::string& path, std::vector<ScriptLine>& lines) {
    std::ifstream in(path);
    if (!in) return false;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        lines.push_back(ScriptLine{number, text, {}, nullptr, 0, {}});
    }
    return true;
}

// The variable a `let` or `set` line makes, as the check before the run can know it: the type
// an entry call gives, the value a `set` gives; any other command's value is known only when it
// runs, so the check takes it for either type.
void Foresee(ScriptContext& context, const ScriptLine& line) {
    Cursor cursor{line.tokens, line.parameters, context.variables, {}};
    const std::string name = line.command->name;
    if (name == "set") {
        std::string set;
        Value value;
        if (cursor.TakeWord(set) && cursor.TakeValue(value)) context.variables[set] = value;
        return;
    }
    if (line.variable.empty()) return;
    std::string entryName;
    const CatalogueEntry* entry = nullptr;
    if (name == "expression" && cursor.TakeWord(entryName)) entry = FindEntry(context.view, EntryKind::EXPRESSION, entryName);
    if (name == "condition" || (entry && !IsStringExpression(*entry))) {
        context.variables[line.variable] = Value::Int(0);
        return;
    }
    // Most values of other commands are texts, which + joins; a parameter takes one for either type.
    context.variables[line.variable] = Value::Str("");
    if (!entry) context.untyped.insert(line.variable);
}

// Every line is checked before the first one runs, so that a mistake on line 9 is found before
// line 1 has touched a file; false with the line in `failed` and the reason in context.error.
bool CheckScript(ScriptContext& context, std::vector<ScriptLine>& lines, int& failed) {
    const std::map<std::string, Value> given = context.variables;
    bool fits = true;
    for (ScriptLine& line : lines) {
        const bool read = Tokenize(line.text, line.tokens, context.error);
        if (!read) context.usage = UsageOfLine(line.text);
        fits = read && (line.tokens.empty() || CheckLine(context, line.tokens, line.command, line.parameters, line.variable));
        if (!fits) {
            failed = line.number;
            break;
        }
        if (line.command) Foresee(context, line);
    }
    context.variables = given;
    context.untyped.clear();
    return fits;
}

int ScriptError(ScriptContext& context, const RunOptions& options, int number) {
    std::fflush(stdout);
    const std::string usage = context.usage.empty() ? "" : " (usage: " + context.usage + ")";
    std::fprintf(stderr, "%s:%d: %s%s\n", options.scriptPath.c_str(), number, context.error.c_str(), usage.c_str());
    return 2;
}

int RunLines(ScriptContext& context, const RunOptions& options) {
    std::vector<ScriptLine> lines;
    if (!ReadLines(options.scriptPath, lines)) {
        std::fprintf(stderr, "qtxhost: cannot read the script %s\n", options.scriptPath.c_str());
        return 2;
    }
    int failed = 0;
    if (!CheckScript(context, lines, failed)) return ScriptError(context, options, failed);
    int failures = 0;
    for (const ScriptLine& line : lines) {
        if (!line.command) continue;
        const LineOutcome outcome = RunLine(context, line);
        if (outcome == LineOutcome::SCRIPT_ERROR) return ScriptError(context, options, line.number);
        if (outcome == LineOutcome::FAILED) ++failures;
    }
    std::printf("%d line(s) failed\n", failures);
    return failures ? 1 : 0;
}

}  // namespace

int RunScript(Host& host, const RunOptions& options) {
    ScriptContext context{host, ReadCatalogue(host), {}, options.variables, {}, {}, {}, {}, {}};
    context.infos = QueryRunInfos(host.api);
    std::string scratch;
    if (options.scratch) {
        scratch = EnterScratchDirectory();
        if (scratch.empty()) {
            std::fprintf(stderr, "qtxhost: cannot make a scratch directory\n");
            return 2;
        }
        context.variables["SCRATCH"] = Value::Str(scratch);
    }
    scratchPath = scratch;
    StartLineWatchdog(RemoveScratch);
    if (const char* played = PlayedVersion()) std::printf("[host] %s\n", played);
    CreateHostObject(host, FIRST_OBJECT_NAME);
    const int status = RunLines(context, options);
    DestroyAllObjects(host);
    StopLineWatchdog();
    std::fflush(stdout);
    if (options.scratch) LeaveScratchDirectory(scratch);
    return status;
}
