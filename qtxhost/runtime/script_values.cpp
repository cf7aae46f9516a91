#include "runtime/script_values.h"

#include <cctype>
#include <cstdlib>

namespace {

constexpr std::size_t SHOWN_TEXT = 72;

bool IsWordChar(char c) {
    return !std::isspace(static_cast<unsigned char>(c)) && c != '"' && c != '+' && c != '*' && c != '=';
}

bool ParseNumber(const std::string& word, std::int64_t& number) {
    char* end = nullptr;
    number = std::strtoll(word.c_str(), &end, 0);
    return !word.empty() && *end == '\0';
}

}  // namespace

bool Tokenize(const std::string& line, std::vector<Token>& tokens, std::string& error) {
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            const std::size_t close = line.find('"', i + 1);
            if (close == std::string::npos) {
                error = "unterminated string";
                return false;
            }
            tokens.push_back({TokenKind::TEXT, line.substr(i + 1, close - i - 1)});
            i = close + 1;
        } else if (line.compare(i, 2, "->") == 0) {
            tokens.push_back({TokenKind::ARROW, "->"});
            i += 2;
        } else if (c == '+' || c == '*' || c == '=') {
            tokens.push_back({c == '+' ? TokenKind::PLUS : c == '*' ? TokenKind::STAR : TokenKind::EQUALS,
                              std::string(1, c)});
            ++i;
        } else {
            std::size_t end = i;
            while (end < line.size() && IsWordChar(line[end]) && line.compare(end, 2, "->") != 0) ++end;
            tokens.push_back({TokenKind::WORD, line.substr(i, end - i)});
            i = end;
        }
    }
    return true;
}

bool Cursor::TakeWord(std::string& word) {
    if (!Next(TokenKind::WORD) && !Next(TokenKind::TEXT)) {
        error = "a name is missing";
        return false;
    }
    word = tokens[pos++].text;
    return true;
}

bool Cursor::TakeInteger(std::int64_t& number) {
    Value value;
    if (!TakeValue(value)) return false;
    if (value.kind != Value::Kind::INTEGER) {
        error = "a number is expected";
        return false;
    }
    number = value.number;
    return true;
}

bool Cursor::TakeValue(Value& value) {
    auto atom = [&](Value& out) {
        if (Next(TokenKind::TEXT)) {
            out = Value::Str(tokens[pos++].text);
            return true;
        }
        if (!Next(TokenKind::WORD)) {
            error = "a value is missing";
            return false;
        }
        const std::string word = tokens[pos++].text;
        std::int64_t number = 0;
        if (word == "null") out = Value{};
        else if (word == "true") out = Value::Int(1);
        else if (word == "false") out = Value::Int(0);
        else if (ParseNumber(word, number)) out = Value::Int(number);
        else if (word[0] == '$' && variables.count(word.substr(1))) out = variables.at(word.substr(1));
        else {
            error = "unknown value " + word;
            return false;
        }
        return true;
    };
    auto term = [&](Value& out) {
        if (!atom(out)) return false;
        if (!Next(TokenKind::STAR)) return true;
        ++pos;
        std::int64_t count = 0;
        if (!Next(TokenKind::WORD) || !ParseNumber(tokens[pos++].text, count) || count < 0 ||
            out.kind != Value::Kind::TEXT) {
            error = "repeat a text by a count: \"x\" * 300";
            return false;
        }
        std::string repeated;
        repeated.reserve(out.text.size() * static_cast<std::size_t>(count));
        for (std::int64_t i = 0; i < count; ++i) repeated += out.text;
        out.text = repeated;
        return true;
    };
    if (!term(value)) return false;
    while (Next(TokenKind::PLUS)) {
        ++pos;
        Value more;
        if (!term(more)) return false;
        if (value.kind != Value::Kind::TEXT || more.kind != Value::Kind::TEXT) {
            error = "only texts are joined with +";
            return false;
        }
        value.text += more.text;
    }
    return true;
}

std::string Show(const Value& value) {
    switch (value.kind) {
        case Value::Kind::NONE: return "null";
        case Value::Kind::INTEGER: return std::to_string(value.number);
        case Value::Kind::TEXT: {
            // Appended piece by piece: GCC 12 warns of overlapping copies in "literal" + string.
            std::string shown = "\"";
            if (value.text.size() <= SHOWN_TEXT) return shown.append(value.text).append("\"");
            return shown.append(value.text, 0, SHOWN_TEXT).append("...\" (").append(std::to_string(value.text.size())).append(" chars)");
        }
    }
    return "?";
}

std::int32_t AsInt32(const Value& value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value.number));
}

bool SameValue(const Value& expected, const Value& got) {
    if (expected.kind != got.kind) return false;
    if (expected.kind == Value::Kind::INTEGER) return AsInt32(expected) == AsInt32(got);
    return expected.text == got.text;
}

bool Like(const std::string& pattern, const std::string& text) {
    std::size_t p = 0, t = 0, star = std::string::npos, resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = t;
        } else if (star != std::string::npos) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}
