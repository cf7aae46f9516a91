// "Run application": reads the option prefix, fills a LaunchRequest, hands it to the host's
// launcher and keeps the launcher's answer in lastError, whatever lastError held before. This
// action has no gate.
#include <cstdlib>
#include <cstring>

#include "launcher/run_application.h"
#include "state/host_services.h"
#include "state/last_error.h"

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

// Copies the text with its NUL when it fits the field; a longer text leaves the field all zero.
void CopyWhole(char* field, std::size_t fieldSize, const char* text) {
    const std::size_t length = std::strlen(text);
    if (length < fieldSize) std::memcpy(field, text, length + 1);
}

}  // namespace

extern "C" HostWord WINAPI ActionRunApplication(RunData* rd, HostWord program, HostWord commandLine) {
    const char* name = TextParameter(program);
    const char* line = TextParameter(commandLine);
    if (!name || !line) return 0;
    auto* request = static_cast<LaunchRequest*>(std::calloc(LAUNCH_REQUEST_SIZE, 1));
    if (!request) return 0;
    CopyWhole(request->programName, PROGRAM_NAME_SIZE, name);
    CopyWhole(request->commandLine, COMMAND_LINE_SIZE, TakeLaunchOptions(line, request->flags));
    // Sent even when a field stayed empty: the host judges the request and answers for it.
    StoreOutcome(rd, static_cast<Outcome>(LaunchProgram(rd, request)));
    std::free(request);
    return 0;
}

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
