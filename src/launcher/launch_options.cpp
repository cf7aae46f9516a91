// The option prefix of "Run application": a '(' first, a ')' close behind it, and the words
// WAIT and HIDE found anywhere between them, in any case, whatever else stands there.
#include <cstring>

#include "launcher/launch_request.h"
#include "launcher/launch_options.h"

namespace {

constexpr char PREFIX_OPEN = '(';
constexpr char PREFIX_CLOSE = ')';
constexpr std::ptrdiff_t PREFIX_REACH = 16;   // the ')' must stand at index 1 to 15
constexpr std::size_t PREFIX_SCRATCH_SIZE = 20;

struct OptionWord {
    const char* word;
    std::uint16_t flag;
};

constexpr OptionWord OPTION_WORDS[] = {
    {"WAIT", LAUNCH_WAIT},
    {"HIDE", LAUNCH_HIDE},
};

// Only the letters a to z change; every other character is kept as it is.
char Capital(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

const char* TakeLaunchOptions(const char* commandLine, std::uint16_t& flags) {
    if (commandLine[0] != PREFIX_OPEN) return commandLine;
    const char* close = std::strchr(commandLine, PREFIX_CLOSE);
    if (!close || close - commandLine >= PREFIX_REACH) return commandLine;
    // The '(' and what follows it up to the ')', capitalised: at most 15 characters.
    char prefix[PREFIX_SCRATCH_SIZE] = {};
    for (const char* c = commandLine; c < close; ++c) prefix[c - commandLine] = Capital(*c);
    for (const OptionWord& option : OPTION_WORDS)
        if (std::strstr(prefix, option.word)) flags |= option.flag;
    // A prefix with neither word is no prefix: it stays in the command line.
    return flags ? close + 1 : commandLine;
}
