#include "launch_service.h"

#include <cstdio>

#include "launcher/launch_request.h"

void PrintLaunchRequest(const LaunchRecord& record) {
    std::printf("  [host] LaunchProgram flags=%u%s%s program=\"%s\" command=\"%s\"\n", record.flags,
                (record.flags & LAUNCH_HIDE) ? " hide" : "", (record.flags & LAUNCH_WAIT) ? " wait" : "",
                record.programName.c_str(), record.commandLine.c_str());
}

HostWord StartProgram(const LaunchRecord&) {
    return ERROR_CALL_NOT_IMPLEMENTED;
}
