#include "runtime/host_runtime.h"

#include <windows.h>
#include <commdlg.h>
#include <cstdio>
#include <cstring>

#include "system/dialog_driver.h"
#include "system/guarded_memory.h"
#include "launcher/run_application.h"
#include "system/launch_service.h"
#include "system/played_behaviours.h"

Host* theHost = nullptr;

namespace {

constexpr std::size_t APP_HEADER_SIZE = 64;

std::uint32_t WINAPI HostVersion() {
    return theHost ? theHost->hostVersion : 0;
}

std::uint32_t WINAPI CompatibleVersion() {
    return DEFAULT_HOST_VERSION;
}

HostObject* ObjectOf(RunData* rd) {
    for (HostObject& object : theHost->objects)
        if (object.rd == rd) return &object;
    return nullptr;
}

HostWord WINAPI ServiceGetExpressionParameter(RunData*, HostWord type, HostWord token) {
    ExpressionArgument& argument = theHost->argument;
    if (token != argument.token)
        theHost->protocolErrors.push_back("GetExpressionParameter was given another token");
    if (!argument.present) {
        theHost->protocolErrors.push_back("GetExpressionParameter called by an expression without a parameter");
        return 0;
    }
    if ((type == PARAM_STRING) != argument.isString)
        theHost->protocolErrors.push_back("GetExpressionParameter asked for the wrong type");
    return argument.isString ? reinterpret_cast<HostWord>(argument.text) : argument.number;
}

HostWord WINAPI ServiceBeforeModalDialog(RunData*, HostWord, HostWord) {
    ++theHost->modalDepth;
    if (!theHost->quietServices) std::printf("  [host] BeforeModalDialog\n");
    ArmDialogDriver();
    return 0;
}

HostWord WINAPI ServiceAfterModalDialog(RunData*, HostWord, HostWord) {
    const DWORD lastError = GetLastError();
    DisarmDialogDriver();
    const DialogSeen& seen = LastDialogSeen();
    // An empty result says nothing of why: a dialog that never waited for the user is a fault of
    // the platform (no display, say), and the line that opened it names the platform's errors.
    if (!seen.found && !theHost->quietServices) {
        char problem[96];
        std::snprintf(problem, sizeof problem, "no dialog appeared (CommDlgExtendedError 0x%04lX, GetLastError %lu)",
                      static_cast<unsigned long>(CommDlgExtendedError()), static_cast<unsigned long>(lastError));
        theHost->protocolErrors.push_back(problem);
    }
    if (seen.openAfterOk && !theHost->quietServices)
        std::printf("  [host] the dialog still waited after OK (file name \"%s\"): cancelled\n", seen.nameAfterOk.c_str());
    if (--theHost->modalDepth < 0) theHost->protocolErrors.push_back("AfterModalDialog without BeforeModalDialog");
    if (!theHost->quietServices) std::printf("  [host] AfterModalDialog\n");
    return 0;
}

char* WINAPI ServiceAllocateTempString(RunData* rd, HostWord size, HostWord) {
    HostObject* object = ObjectOf(rd);
    if (!object || !theHost->tempStringsAvailable || size <= 0) return nullptr;
    void* block = GuardedAlloc(static_cast<std::size_t>(size));
    if (!block) {
        theHost->protocolErrors.push_back("AllocateTempString could not allocate " + std::to_string(size) + " bytes");
        return nullptr;
    }
    object->tempStrings.push_back(block);
    return static_cast<char*>(block);
}

HostWord WINAPI ServiceLaunchProgram(RunData*, HostWord, void* block) {
    const auto* request = static_cast<const LaunchRequest*>(block);
    LaunchRecord record;
    record.flags = request->flags;
    record.programName.assign(request->programName, strnlen(request->programName, PROGRAM_NAME_SIZE));
    record.commandLine.assign(request->commandLine, strnlen(request->commandLine, COMMAND_LINE_SIZE));
    theHost->launches.push_back(record);
    if (!theHost->quietServices) PrintLaunchRequest(record);
    if (theHost->launchMode == LaunchMode::RECORD) return theHost->launchResult;
    return StartProgram(record);
}

void ReleaseTempStrings(HostObject& object) {
    for (void* block : object.tempStrings) GuardedFree(block);
    object.tempStrings.clear();
}

EditorHost* NewEditorHost(GetHostVersionRoutine routine) {
    auto* editor = static_cast<EditorHost*>(GuardedAlloc(sizeof(EditorHost)));
    if (editor) editor->getHostVersion = routine;
    return editor;
}

}  // namespace

bool StartHost(Host& host, const std::string& modulePath, std::string& error) {
    theHost = &host;
    if (!LoadModuleApi(modulePath, host.api, error) || !StartPlayedBehaviours(host.api.module, error)) return false;
    host.appHeader = static_cast<std::uint8_t*>(GuardedAlloc(APP_HEADER_SIZE));
    host.runHeader = static_cast<RunHeader*>(GuardedAlloc(sizeof(RunHeader)));
    host.editorHost = NewEditorHost(HostVersion);
    host.compatibleEditor = NewEditorHost(CompatibleVersion);
    if (!host.appHeader || !host.runHeader || !host.editorHost || !host.compatibleEditor) {
        error = "out of memory";
        return false;
    }
    RunHeader* header = host.runHeader;
    header->mainWindow = CreateDialogOwner();
    header->appHeader = host.appHeader;
    header->getExpressionParameter = ServiceGetExpressionParameter;
    header->beforeModalDialog = ServiceBeforeModalDialog;
    header->afterModalDialog = ServiceAfterModalDialog;
    header->allocateTempString = ServiceAllocateTempString;
    header->launchProgram = ServiceLaunchProgram;
    return true;
}

void SetHostVersion(Host& host, bool present, std::uint32_t version) {
    host.hostVersion = version;
    host.editorHost->getHostVersion = present ? HostVersion : nullptr;
}

HostObject* CreateHostObject(Host& host, const std::string& name) {
    const std::size_t size = static_cast<std::uint16_t>(host.api.GetRunObjectDataSize(0, 0));
    auto* rd = static_cast<RunData*>(GuardedAlloc(size < sizeof(RunData) ? sizeof(RunData) : size));
    if (!rd) return nullptr;
    rd->header.runHeader = host.runHeader;
    host.objects.push_back(HostObject{name, rd, {}});
    host.current = host.objects.size() - 1;
    const int status = host.api.CreateRunObject(rd, 0, 0);
    if (status != 0 && !host.quietServices)
        std::printf("  [host] CreateRunObject answered %d\n", status);
    return &host.objects.back();
}

void DestroyHostObject(Host& host, std::size_t index) {
    HostObject& object = host.objects[index];
    host.api.DestroyRunObject(object.rd, 0);
    ReleaseTempStrings(object);
    GuardedFree(object.rd);
    host.objects.erase(host.objects.begin() + static_cast<std::ptrdiff_t>(index));
    host.current = host.objects.empty() ? 0 : host.objects.size() - 1;
}

HostObject* FindHostObject(Host& host, const std::string& name, std::size_t* index) {
    for (std::size_t i = 0; i < host.objects.size(); ++i) {
        if (host.objects[i].name != name) continue;
        if (index) *index = i;
        return &host.objects[i];
    }
    return nullptr;
}

HostObject* CurrentObject(Host& host) {
    return host.objects.empty() ? nullptr : &host.objects[host.current];
}

void DestroyAllObjects(Host& host) {
    while (!host.objects.empty()) DestroyHostObject(host, 0);
}

void ReclaimTempStrings(Host& host) {
    for (HostObject& object : host.objects) ReleaseTempStrings(object);
}
