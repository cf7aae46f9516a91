#include "script/script_check.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>
#include <sstream>

namespace {

// ---- a command's usage as the pattern of its line ----------------------------------------
// "write PATH TEXT", "lock PATH [shared|writing]", "answer ok|cancel [filter N] [files TEXT...]",
// "cwd [-> EXPECTED]", each from commands.txt. After the command's name, a word in capitals
// stands for a value (NAME, KIND, ENTRY, a date and a time also for a bare word), another word
// for itself, "a|b" for either, "X..." for one X or more. Brackets hold what may be left out, the
// groups in a row in any order; "[-> EXPECTED]" says that the command gives a value.
struct UsageItem {
    std::vector<std::string> words;   // its alternatives; none for a group
    bool repeats = false;
    std::vector<UsageItem> group;
};

constexpr const char* GIVES_VALUE = "[-> EXPECTED]";
constexpr const char* WORD_PLACEHOLDERS[] = {"NAME", "KIND", "ENTRY"};
constexpr std::size_t NEAREST_SHOWN = 3;

bool IsPlaceholder(const std::string& word) {
    return std::none_of(word.begin(), word.end(), [](char c) { return std::islower(static_cast<unsigned char>(c)); });
}

bool TakesWord(const std::string& placeholder) {
    return placeholder.find_first_of("-:") != std::string::npos ||
           std::find(std::begin(WORD_PLACEHOLDERS), std::end(WORD_PLACEHOLDERS), placeholder) != std::end(WORD_PLACEHOLDERS);
}

// The items of a usage from p to the end of its group or of the pattern.
std::vector<UsageItem> ReadUsage(const char*& p) {
    std::vector<UsageItem> items;
    while (*p) {
        if (*p == ' ') {
            ++p;
        } else if (*p == ']') {
            ++p;
            break;
        } else if (std::strncmp(p, GIVES_VALUE, std::strlen(GIVES_VALUE)) == 0) {
            p += std::strlen(GIVES_VALUE);
        } else if (*p == '[') {
            items.push_back(UsageItem{{}, false, ReadUsage(++p)});
        } else {
            const char* end = p + std::strcspn(p, " ]");
            std::string word(p, end);
            p = end;
            UsageItem item;
            item.repeats = word.size() > 3 && word.ends_with("...");
            if (item.repeats) word.resize(word.size() - 3);
            std::stringstream alternatives(word);
            for (std::string alternative; std::getline(alternatives, alternative, '|');) item.words.push_back(alternative);
            items.push_back(item);
        }
    }
    return items;
}

std::string Alternatives(const UsageItem& item) {
    std::string text;
    for (const std::string& word : item.words) text += (text.empty() ? "" : " or ") + word;
    return text;
}

// Walks a line's parameters along a usage; the reason of the first misfit in `error`.
struct UsageWalk {
    Cursor& cursor;
    std::string error;
    std::size_t misfitAt = std::string::npos;   // where a group left out last failed, and why
    std::string misfit;

    bool Word(const UsageItem& item) {
        std::string reason;
        for (const std::string& word : item.words) {
            if (!IsPlaceholder(word)) {
                if (cursor.NextWord(word.c_str())) return ++cursor.pos, true;
                continue;
            }
            Cursor value = cursor;
            Value ignored;
            if (value.TakeValue(ignored)) return cursor.pos = value.pos, true;
            if (TakesWord(word) && cursor.Next(TokenKind::WORD) && cursor.tokens[cursor.pos].text[0] != '$')
                return ++cursor.pos, true;
            const bool plainWord = cursor.Next(TokenKind::WORD) && cursor.tokens[cursor.pos].text[0] != '$';
            if (!cursor.AtEnd() && !plainWord) reason = value.error;
        }
        if (!reason.empty()) error = reason;
        else if (cursor.AtEnd()) error = Alternatives(item) + " is missing";
        else error = "\"" + cursor.tokens[cursor.pos].text + "\" is not " + Alternatives(item);
        return false;
    }

    // A row of groups that may be left out, in any order: each fits whole, or leaves the line
    // as it was; one that fits only in part is the line's mistake.
    bool Groups(const std::vector<UsageItem>& items, std::size_t from, std::size_t to) {
        std::vector<bool> used(to - from);
        for (bool more = true; more;) {
            more = false;
            for (std::size_t i = from; i < to; ++i) {
                const std::size_t start = cursor.pos;
                if (used[i - from] || cursor.AtEnd()) continue;
                if (Items(items[i].group)) {
                    used[i - from] = more = true;
                } else if (cursor.pos > start) {
                    return false;
                } else {
                    misfitAt = start;
                    misfit = error;
                    error.clear();
                }
            }
        }
        if (to - from > 1 && misfitAt == cursor.pos && !cursor.AtEnd()) {
            std::string heads;
            for (std::size_t i = from; i < to; ++i)
                if (!used[i - from]) heads += (heads.empty() ? "" : ", ") + Alternatives(items[i].group[0]);
            misfit = "\"" + cursor.tokens[cursor.pos].text + "\" is not " + heads;
        }
        return true;
    }

    bool Items(const std::vector<UsageItem>& items) {
        for (std::size_t i = 0; i < items.size();) {
            if (items[i].words.empty()) {
                std::size_t end = i;
                while (end < items.size() && items[end].words.empty()) ++end;
                if (!Groups(items, i, end)) return false;
                i = end;
                continue;
            }
            if (!Word(items[i])) return false;
            while (items[i].repeats && !cursor.AtEnd()) {
                const std::size_t at = cursor.pos;
                if (!Word(items[i])) {
                    cursor.pos = at;
                    error.clear();
                    break;
                }
            }
            ++i;
        }
        return true;
    }
};

bool FitsUsage(const char* usage, Cursor cursor, std::string& error) {
    std::vector<UsageItem> items = ReadUsage(usage);
    items.erase(items.begin());   // the command's own name
    UsageWalk walk{cursor, {}, std::string::npos, {}};
    if (!walk.Items(items)) {
        error = walk.error;
        return false;
    }
    if (!cursor.AtEnd()) {   // what is left is what the group that may be left out did not take
        error = walk.misfitAt == cursor.pos ? walk.misfit
                                            : "unexpected \"" + cursor.tokens[cursor.pos].text + "\" at the end of the line";
        return false;
    }
    return true;
}

bool GivesValue(const ScriptCommand& command) {
    return std::strstr(UsageOf(command), GIVES_VALUE) != nullptr;
}

// "-> VALUE", "-> like PATTERN", "-> length N", each perhaps negated by "not", and nothing after it.
bool FitsExpectation(Cursor cursor, std::string& error) {
    ++cursor.pos;   // the arrow
    ReadExpectationWords(cursor);
    Value expected;
    if (!cursor.TakeValue(expected)) {
        error = cursor.error + " after ->";
        return false;
    }
    if (cursor.pos < cursor.tokens.size()) {
        error = "unexpected \"" + cursor.tokens[cursor.pos].text + "\" at the end of the line";
        return false;
    }
    return true;
}

std::vector<std::string> CommandNames() {
    std::vector<std::string> names;
    for (const std::span<const ScriptCommand>& table : CommandTables())
        for (const ScriptCommand& command : table) names.push_back(command.name);
    return names;
}

std::size_t Distance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) == std::tolower(static_cast<unsigned char>(b[j - 1]));
            const std::size_t next = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = row[j];
            row[j] = next;
        }
    }
    return row[b.size()];
}

// The names, nearest to name first (fewest letters to change), each once.
std::vector<std::string> ByDistance(const std::string& name, const std::vector<std::string>& names) {
    std::vector<std::string> sorted = names;
    std::stable_sort(sorted.begin(), sorted.end(), [&](const std::string& a, const std::string& b) {
        return Distance(name, a) < Distance(name, b);
    });
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    return sorted;
}

const ScriptCommand* NearestCommand(const std::string& name) {
    const std::vector<std::string> nearest = ByDistance(name, CommandNames());
    return nearest.empty() ? nullptr : FindCommand(nearest.front());
}

}  // namespace

Expectation ReadExpectationWords(Cursor& cursor) {
    Expectation expectation;
    expectation.negated = cursor.NextWord("not");
    if (expectation.negated) ++cursor.pos;
    if (cursor.NextWord("like")) expectation.mode = ExpectationMode::LIKE;
    if (cursor.NextWord("length")) expectation.mode = ExpectationMode::LENGTH;
    if (expectation.mode != ExpectationMode::IS) ++cursor.pos;
    return expectation;
}

std::string ModeWord(ExpectationMode mode) {
    if (mode == ExpectationMode::LIKE) return "like ";
    return mode == ExpectationMode::LENGTH ? "length " : "";
}

std::string NearestNames(const std::string& name, const std::vector<std::string>& names) {
    std::vector<std::string> sorted = ByDistance(name, names);
    sorted.resize(std::min(sorted.size(), NEAREST_SHOWN));
    std::string text;
    for (std::size_t i = 0; i < sorted.size(); ++i)
        text += (i == 0 ? "" : i + 1 == sorted.size() ? " or " : ", ") + ("\"" + sorted[i] + "\"");
    return text;
}

std::string UsageOfLine(const std::string& line) {
    std::stringstream words(line);
    std::string word;
    words >> word;
    if (word == "let") words >> word >> word >> word;   // let NAME = COMMAND
    if (word.empty() || word[0] == '#') return "";
    const ScriptCommand* command = FindCommand(word);
    if (!command) command = NearestCommand(word);
    return command ? UsageOf(*command) : "";
}

bool CheckLine(ScriptContext& context, const std::vector<Token>& tokens, const ScriptCommand*& command,
               std::size_t& parameters, std::string& variable) {
    Cursor cursor{tokens, 0, context.variables, {}};
    context.usage.clear();
    if (cursor.NextWord("let")) {
        ++cursor.pos;
        if (!cursor.TakeWord(variable) || !cursor.Next(TokenKind::EQUALS)) {
            context.error = "let NAME = COMMAND ...";
            return false;
        }
        ++cursor.pos;
        if (cursor.AtEnd()) {
            context.error = "the command is missing after let " + variable + " =";
            return false;
        }
    }
    std::string name;
    if (!TakeWord(context, cursor, name)) return false;
    command = FindCommand(name);
    if (!command) {
        const ScriptCommand* nearest = NearestCommand(name);
        context.error = "unknown command " + name + (nearest ? std::string(" (did you mean ") + nearest->name + "?)" : "");
        if (nearest) context.usage = UsageOf(*nearest);
        return false;
    }
    const char* usage = UsageOf(*command);
    context.usage = usage;
    parameters = cursor.pos;
    std::size_t arrow = parameters;
    while (arrow < tokens.size() && tokens[arrow].kind != TokenKind::ARROW) ++arrow;
    if (!FitsUsage(usage, cursor, context.error)) return false;
    if (command->check) {
        Cursor checked = cursor;
        if (!command->check(context, checked).ok) return false;
    }
    if ((arrow < tokens.size() || !variable.empty()) && !GivesValue(*command)) {
        context.error = std::string(command->name) + " gives no value " + (variable.empty() ? "to compare" : "to keep");
        return false;
    }
    if (arrow < tokens.size()) {
        Cursor expectation = cursor;
        expectation.pos = arrow;
        return FitsExpectation(expectation, context.error);
    }
    return true;
}
