// "Run application": fills a LaunchRequest, hands it to the host's launcher and keeps the
// launcher's answer in lastError, whatever lastError held before. This action has no gate.
#include <cstdlib>
#include <cstring>

#include "launcher/launch_options.h"
#include "launcher/launch_request.h"
#include "launcher/run_application.h"
#include "state/host_services.h"
#include "state/last_error.h"

namespace {

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
