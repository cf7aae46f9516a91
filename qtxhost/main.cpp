// qtxhost: a headless stand-in for the authoring host, to try File object applications
// outside it and to test the module.
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tools/describe.h"
#include "script/script.h"
#include "tools/sweep.h"

namespace {

// One line for a command line it cannot use, on stderr.
void PrintUsage() {
    std::fprintf(stderr, "usage: qtxhost [OPTION...] describe [--json] MODULE | qtxhost [OPTION...] run MODULE SCRIPT "
                         "(qtxhost --help lists the commands and options)\n");
}

// What --help prints: each command and option on a line, the developers' commands apart.
constexpr const char* HELP_LINES[] = {
    "qtxhost: runs the File object (QTFILE.qtx) outside ZYN, without a window.",
    "",
    "Commands:",
    "  qtxhost [OPTION...] describe [--json] MODULE   the object's conditions, actions and expressions",
    "  qtxhost [OPTION...] run MODULE SCRIPT          play a script's lines on the object, each line",
    "                                                 checked whole before it runs",
    "",
    "Options, before or after the command:",
    "  --scratch              run the script in a new empty folder, removed afterwards",
    "  --set NAME=TEXT        give the script the value $NAME",
    "  --host-version N|none  the host version the object is told: a number such as 0x02000100,",
    "                         the default, or none",
    "  --help, -h, /?         this text",
    "",
    "For the object's developers:",
    "  qtxhost sweep MODULE   call every entry with hostile parameters and count the crashes",
    "",
    "QTXHOST.txt, beside qtxhost.exe in the release, describes the script lines and every command.",
};

void PrintHelp() {
    for (const char* line : HELP_LINES) std::printf("%s\n", line);
}

bool AsksForHelp(const std::string& word) {
    return word == "--help" || word == "-h" || word == "/?";
}

std::string OwnPath() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

bool StartOrSay(Host& host, const std::string& module) {
    std::string error;
    if (StartHost(host, module, error)) return true;
    std::fprintf(stderr, "qtxhost: %s\n", error.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    RunOptions options;
    bool hasVersion = true;
    std::uint32_t version = DEFAULT_HOST_VERSION;
    bool json = false;
    std::vector<std::string> words;   // the command and its operands, the options taken out
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (AsksForHelp(option)) {
            PrintHelp();
            return 0;
        }
        if (option == "--scratch") {
            options.scratch = true;
        } else if (option == "--json") {
            json = true;
        } else if (option == "--host-version" && i + 1 < argc) {
            const std::string value = argv[++i];
            hasVersion = value != "none";
            version = static_cast<std::uint32_t>(std::strtoul(value.c_str(), nullptr, 0));
        } else if (option == "--set" && i + 1 < argc && std::strchr(argv[i + 1], '=')) {
            const std::string assignment = argv[++i];
            const std::size_t equals = assignment.find('=');
            options.variables[assignment.substr(0, equals)] = Value::Str(assignment.substr(equals + 1));
        } else if (option.rfind("--", 0) == 0) {
            const bool known = option == "--set" || option == "--host-version";
            std::fprintf(stderr, "qtxhost: %s %s (qtxhost --help lists the commands and options)\n",
                         known ? "a value is missing after" : "unknown option", option.c_str());
            return 2;
        } else {
            words.push_back(option);
        }
    }
    const std::size_t left = words.size();
    const std::string command = left > 0 ? words[0] : "";
    Host host;
    if (command == "describe" && left == 2) {
        if (!StartOrSay(host, words[1])) return 2;
        SetHostVersion(host, hasVersion, version);
        return json ? DescribeJson(host) : Describe(host);
    }
    if (command == "run" && left == 3 && !json) {
        if (!StartOrSay(host, words[1])) return 2;
        SetHostVersion(host, hasVersion, version);
        char script[MAX_PATH] = "";
        GetFullPathNameA(words[2].c_str(), MAX_PATH, script, nullptr);   // the scratch directory moves us away
        options.scriptPath = script;
        return RunScript(host, options);
    }
    if (command == "sweep" && left == 2 && !json) return Sweep(OwnPath(), words[1]);
    if (command == "sweep-worker" && left == 3 && !json) {
        if (!StartOrSay(host, words[1])) return 2;
        return SweepWorker(host, std::strtoull(words[2].c_str(), nullptr, 10));
    }
    PrintUsage();
    return 2;
}
