// qtxhost: a headless stand-in for the authoring host, to try File object applications
// outside it and to test the module.
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "command_descriptions.h"
#include "tools/describe.h"
#include "script/script.h"
#include "script/script_context.h"
#include "tools/sweep.h"

namespace {

// One line for a command line it cannot use, on stderr.
void PrintUsage() {
    std::fprintf(stderr, "usage: qtxhost [OPTION...] describe [--json] MODULE | qtxhost [OPTION...] run MODULE SCRIPT "
                         "(qtxhost --help lists the commands and options)\n");
}

constexpr const char* HELP_INTRO = "qtxhost: runs the File object (QTFILE.qtx) outside ZYN, without a window.";
constexpr const char* HELP_GUIDE =
    "QTXHOST.txt, beside qtxhost.exe in the release, tells how to write a script, with an example.";
constexpr int HELP_USAGE_WIDTH = 40;

// What --help prints: every command and option of the description, one line each under its
// group, the developers' groups last.
void PrintHelp() {
    std::printf("%s\n", HELP_INTRO);
    for (const bool developers : {false, true}) {
        const char* group = "";
        for (const CommandDescription& row : COMMAND_DESCRIPTIONS) {
            if (row.forDevelopers != developers) continue;
            if (std::strcmp(group, row.group) != 0) std::printf("\n%s:\n", group = row.group);
            std::printf("  %-*s  %s\n", HELP_USAGE_WIDTH, row.usage, row.does);
        }
    }
    std::printf("\n%s\n", HELP_GUIDE);
}

// The variable every script is given: the folder of the module it runs, unless --set gives it.
constexpr const char* MODULE_FOLDER = "MODULE_FOLDER";

std::string FolderOf(const std::string& path) {
    char full[MAX_PATH] = "";
    char* name = nullptr;
    if (!GetFullPathNameA(path.c_str(), MAX_PATH, full, &name) || !name) return "";
    return std::string(full, name > full ? name - full - 1 : 0);
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
    const std::string undescribed = UndescribedCommands();
    if (!undescribed.empty()) {
        std::fprintf(stderr, "qtxhost: %s", undescribed.c_str());
        return 2;
    }
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
        options.variables.emplace(MODULE_FOLDER, Value::Str(FolderOf(words[1])));
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
