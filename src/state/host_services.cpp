#include "state/host_services.h"

namespace {

const char STATIC_EMPTY_STRING[1] = "";

// The host's run header, or null when the host gave none.
const RunHeader* HeaderOf(const RunData* rd) {
    return rd ? rd->header.runHeader : nullptr;
}

}  // namespace

HostWord StaticEmptyString() {
    return reinterpret_cast<HostWord>(STATIC_EMPTY_STRING);
}

void SetStringResult(RunData* rd) {
    rd->header.hostFlags |= STRING_RESULT;
}

HostWord EmptyStringResult(RunData* rd) {
    SetStringResult(rd);
    return StaticEmptyString();
}

char* EmptyResult(RunData* rd, std::size_t size) {
    char* result = AllocateTempString(rd, size);
    if (result) result[0] = '\0';
    return result;
}

HostWord StringResult(RunData* rd, const char* result) {
    if (!result) return EmptyStringResult(rd);
    SetStringResult(rd);
    return reinterpret_cast<HostWord>(result);
}

HostWord GetExpressionParameter(RunData* rd, HostWord type, HostWord token) {
    const RunHeader* host = HeaderOf(rd);
    if (!host || !host->getExpressionParameter) return 0;
    return host->getExpressionParameter(rd, type, token);
}

const char* GetStringParameter(RunData* rd, HostWord token) {
    return TextParameter(GetExpressionParameter(rd, PARAM_STRING, token));
}

HostWord GetIntegerParameter(RunData* rd, HostWord token) {
    return GetExpressionParameter(rd, PARAM_INTEGER, token);
}

char* AllocateTempString(RunData* rd, std::size_t size) {
    const RunHeader* host = HeaderOf(rd);
    if (!host || !host->allocateTempString) return nullptr;
    return host->allocateTempString(rd, static_cast<HostWord>(size), 0);
}

void BeforeModalDialog(RunData* rd) {
    const RunHeader* host = HeaderOf(rd);
    if (host && host->beforeModalDialog) host->beforeModalDialog(rd, 0, 0);
}

void AfterModalDialog(RunData* rd) {
    const RunHeader* host = HeaderOf(rd);
    if (host && host->afterModalDialog) host->afterModalDialog(rd, 0, 0);
}

HostWord LaunchProgram(RunData* rd, void* request) {
    const RunHeader* host = HeaderOf(rd);
    if (!host || !host->launchProgram) return -1;
    return host->launchProgram(rd, 0, request);
}

HWND MainWindow(const RunData* rd) {
    const RunHeader* host = HeaderOf(rd);
    return host ? host->mainWindow : nullptr;
}

const std::uint8_t* AppHeader(const RunData* rd) {
    const RunHeader* host = HeaderOf(rd);
    return host ? host->appHeader : nullptr;
}
