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

// A line is checked whole first (script_check.h): a line found wrong runs not at all.
LineOutcome RunLine(ScriptContext& context, const std::vector<Token>& tokens, int lineNumber) {
    const ScriptCommand* command = nullptr;
    std::size_t parameters = 0;
    std::string variable;
    if (!CheckLine(context, tokens, command, parameters, variable)) return LineOutcome::SCRIPT_ERROR;
    Cursor cursor{tokens, parameters, context.variables, {}};
    context.shown.clear();
    context.note.clear();
    context.host.protocolErrors.clear();
    ReclaimTempStrings(context.host);
    WatchLine(lineNumber, LineText(tokens), LINE_SECONDS);
    const CommandResult result = command->run(context, cursor);
    LineDone();
    if (!result.ok) return LineOutcome::SCRIPT_ERROR;
    if (context.shown.empty()) context.shown = LineText(tokens);
    std::printf("%d: %s", lineNumber, context.shown.c_str());
    if (result.hasValue) std::printf(" = %s", Show(result.value).c_str());
    std::printf("\n");
    if (!context.note.empty()) std::printf("%d: %s\n", lineNumber, context.note.c_str());
    if (!variable.empty()) context.variables[variable] = result.value;

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

int RunLines(ScriptContext& context, const RunOptions& options) {
    std::ifstream in(options.scriptPath);
    if (!in) {
        std::fprintf(stderr, "qtxhost: cannot read the script %s\n", options.scriptPath.c_str());
        return 2;
    }
    int failures = 0;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::vector<Token> tokens;
        const bool read = Tokenize(line, tokens, context.error);
        if (read && tokens.empty()) continue;
        if (!read) context.usage = UsageOfLine(line);
        const LineOutcome outcome = read ? RunLine(context, tokens, number) : LineOutcome::SCRIPT_ERROR;
        if (outcome == LineOutcome::SCRIPT_ERROR) {
            std::fflush(stdout);
            const std::string usage = context.usage.empty() ? "" : " (usage: " + context.usage + ")";
            std::fprintf(stderr, "%s:%d: %s%s\n", options.scriptPath.c_str(), number, context.error.c_str(), usage.c_str());
            return 2;
        }
        if (outcome == LineOutcome::FAILED) ++failures;
    }
    std::printf("%d line(s) failed\n", failures);
    return failures ? 1 : 0;
}

}  // namespace

int RunScript(Host& host, const RunOptions& options) {
    ScriptContext context{host, ReadCatalogue(host), {}, options.variables, {}, {}, {}, {}};
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
    CreateHostObject(host, "main");
    const int status = RunLines(context, options);
    DestroyAllObjects(host);
    StopLineWatchdog();
    std::fflush(stdout);
    if (options.scratch) LeaveScratchDirectory(scratch);
    return status;
}
