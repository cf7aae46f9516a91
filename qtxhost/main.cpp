// qtxhost: a headless stand-in for the authoring host, to try File object applications
// outside it and to test the module.
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/describe.h"
#include "script/script.h"
#include "tools/sweep.h"

namespace {

void PrintUsage() {
    std::fprintf(stderr, "usage: qtxhost [--host-version N|none] describe [--json] MODULE | "
                         "qtxhost [--scratch] [--set NAME=TEXT]... run MODULE SCRIPT | qtxhost sweep MODULE\n");
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
    int i = 1;
    for (; i < argc && std::strncmp(argv[i], "--", 2) == 0; ++i) {
        const std::string option = argv[i];
        if (option == "--scratch") {
            options.scratch = true;
        } else if (option == "--host-version" && i + 1 < argc) {
            const std::string value = argv[++i];
            hasVersion = value != "none";
            version = static_cast<std::uint32_t>(std::strtoul(value.c_str(), nullptr, 0));
        } else if (option == "--set" && i + 1 < argc) {
            const std::string assignment = argv[++i];
            const std::size_t equals = assignment.find('=');
            if (equals == std::string::npos) break;
            options.variables[assignment.substr(0, equals)] = Value::Str(assignment.substr(equals + 1));
        } else {
            break;
        }
    }
    const int left = argc - i;
    const std::string command = left > 0 ? argv[i] : "";
    Host host;
    const bool json = left == 3 && std::strcmp(argv[i + 1], "--json") == 0;
    if (command == "describe" && (left == 2 || json)) {
        if (!StartOrSay(host, argv[argc - 1])) return 2;
        SetHostVersion(host, hasVersion, version);
        return json ? DescribeJson(host) : Describe(host);
    }
    if (command == "run" && left == 3) {
        if (!StartOrSay(host, argv[i + 1])) return 2;
        SetHostVersion(host, hasVersion, version);
        char script[MAX_PATH] = "";
        GetFullPathNameA(argv[i + 2], MAX_PATH, script, nullptr);   // the scratch directory moves us away
        options.scriptPath = script;
        return RunScript(host, options);
    }
    if (command == "sweep" && left == 2) return Sweep(OwnPath(), argv[i + 1]);
    if (command == "sweep-worker" && left == 3) {
        if (!StartOrSay(host, argv[i + 1])) return 2;
        return SweepWorker(host, std::strtoull(argv[i + 2], nullptr, 10));
    }
    PrintUsage();
    return 2;
}
