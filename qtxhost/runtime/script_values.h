// Values and tokens of the script language.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct Value {
    enum class Kind { NONE, INTEGER, TEXT };
    Kind kind = Kind::NONE;
    std::int64_t number = 0;
    std::string text;

    static Value Int(std::int64_t n) { return Value{Kind::INTEGER, n, {}}; }
    static Value Str(std::string s) { return Value{Kind::TEXT, 0, std::move(s)}; }
};

enum class TokenKind { WORD, TEXT, ARROW, PLUS, STAR, EQUALS };

struct Token {
    TokenKind kind;
    std::string text;
};

// Splits a line into tokens; false with a message on an unterminated string.
bool Tokenize(const std::string& line, std::vector<Token>& tokens, std::string& error);

// Reads tokens one by one; values are "text", numbers, null, true, false, $NAME,
// joined with + and repeated with * N.
struct Cursor {
    const std::vector<Token>& tokens;
    std::size_t pos = 0;
    const std::map<std::string, Value>& variables;
    std::string error;

    bool AtEnd() const { return pos >= tokens.size() || tokens[pos].kind == TokenKind::ARROW; }
    bool Next(TokenKind kind) const { return pos < tokens.size() && tokens[pos].kind == kind; }
    bool NextWord(const char* word) const { return Next(TokenKind::WORD) && tokens[pos].text == word; }
    bool TakeWord(std::string& word);
    bool TakeValue(Value& value);
    bool TakeInteger(std::int64_t& number);
};

std::string Show(const Value& value);
bool SameValue(const Value& expected, const Value& got);
bool Like(const std::string& pattern, const std::string& text);
std::int32_t AsInt32(const Value& value);
