#include "system/launch_service.h"

#include <cstdio>

#include "launcher/run_application.h"

void PrintLaunchRequest(const LaunchRecord& record) {
    std::printf("  [host] LaunchProgram flags=%u%s%s program=\"%s\" command=\"%s\"\n", record.flags,
                (record.flags & LAUNCH_HIDE) ? " hide" : "", (record.flags & LAUNCH_WAIT) ? " wait" : "",
                record.programName.c_str(), record.commandLine.c_str());
}

// The program name, quoted, then the command line: CreateProcessA looks the program up the
// way Windows does (the host's folder, the current directory, the system folders, PATH).
HostWord StartProgram(const LaunchRecord& record) {
    std::string command = "\"" + record.programName + "\"";
    if (!record.commandLine.empty()) command += " " + record.commandLine;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (record.flags & LAUNCH_HIDE) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
    }
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return static_cast<HostWord>(GetLastError());
    if (record.flags & LAUNCH_WAIT) WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
