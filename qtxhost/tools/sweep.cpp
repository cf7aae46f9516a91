#include "tools/sweep.h"

#include <windows.h>
#include <direct.h>
#include <cstdio>
#include <cstdlib>

#include "runtime/entry_calls.h"
#include "system/scratch_directory.h"
#include "tools/sweep_plan.h"

namespace {

constexpr int WORKER_CRASHED = 3;
constexpr DWORD WORKER_REFUSED = 2;       // the worker could not load the module at all
constexpr DWORD QUIET_LIMIT_MS = 120000;   // a worker silent this long is taken as hung

std::size_t announcedCall = 0;

LONG WINAPI ReportWorkerCrash(EXCEPTION_POINTERS* info) {
    std::printf("crash %zu 0x%08lX\n", announcedCall, info->ExceptionRecord->ExceptionCode);
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), WORKER_CRASHED);
    return EXCEPTION_EXECUTE_HANDLER;
}

struct WorkerRun {
    bool finished = false;       // the worker made every call left
    bool refused = false;
    bool crashed = false;
    std::size_t lastCall = 0;
    bool announcedAny = false;
};

// Reads the worker's "call N" and "crash N" lines until it ends or falls silent.
WorkerRun WatchWorker(HANDLE process, HANDLE output) {
    WorkerRun run;
    std::string pending;
    DWORD quietSince = GetTickCount();
    for (;;) {
        DWORD available = 0;
        if (PeekNamedPipe(output, nullptr, 0, nullptr, &available, nullptr) && available) {
            char chunk[4096];
            DWORD got = 0;
            ReadFile(output, chunk, sizeof chunk, &got, nullptr);
            pending.append(chunk, got);
            quietSince = GetTickCount();
            for (std::size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1)) {
                const std::string line = pending.substr(0, end);
                if (line.rfind("call ", 0) == 0) {
                    run.lastCall = std::strtoull(line.c_str() + 5, nullptr, 10);
                    run.announcedAny = true;
                } else if (line.rfind("crash ", 0) == 0) {
                    run.crashed = true;
                }
            }
            continue;
        }
        if (WaitForSingleObject(process, 10) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(process, &code);
            if (PeekNamedPipe(output, nullptr, 0, nullptr, &available, nullptr) && available) continue;
            run.finished = code == 0 && !run.crashed;
            run.refused = code == WORKER_REFUSED && !run.announcedAny;
            run.crashed = !run.finished && !run.refused;
            return run;
        }
        if (GetTickCount() - quietSince > QUIET_LIMIT_MS) {
            TerminateProcess(process, WORKER_CRASHED);
            run.crashed = true;
            return run;
        }
    }
}

bool StartWorker(const std::string& hostPath, const std::string& modulePath, std::size_t first,
                 PROCESS_INFORMATION& process, HANDLE& output) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE write = nullptr;
    if (!CreatePipe(&output, &write, &inherit, 0)) return false;
    SetHandleInformation(output, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::string command = "\"" + hostPath + "\" sweep-worker \"" + modulePath + "\" " + std::to_string(first);
    const BOOL started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                        &startup, &process);
    CloseHandle(write);
    return started;
}

// Makes every call in workers, a new one after each crash; the exit code of the sweep.
int RunWorkers(const std::string& hostPath, const std::string& modulePath, const std::vector<SweepCall>& calls) {
    std::size_t first = 0, crashes = 0;
    while (first < calls.size()) {
        PROCESS_INFORMATION process{};
        HANDLE output = nullptr;
        if (!StartWorker(hostPath, modulePath, first, process, output)) {
            std::fprintf(stderr, "qtxhost: cannot start a sweep worker\n");
            return 2;
        }
        const WorkerRun run = WatchWorker(process.hProcess, output);
        CloseHandle(output);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        if (run.finished) break;
        if (run.refused) {
            std::fprintf(stderr, "qtxhost: the sweep worker could not start on %s\n", modulePath.c_str());
            return 2;
        }
        const std::size_t failed = run.announcedAny ? run.lastCall : first;
        std::printf("crash in call %zu: %s\n", failed, ShowCall(*calls[failed].entry, calls[failed].args).c_str());
        ++crashes;
        first = failed + 1;
    }
    std::printf("sweep: %zu calls made, %zu crashes\n", calls.size(), crashes);
    return crashes ? 1 : 0;
}

}  // namespace

int Sweep(const std::string& hostPath, const std::string& moduleName) {
    char fullPath[MAX_PATH] = "";
    GetFullPathNameA(moduleName.c_str(), MAX_PATH, fullPath, nullptr);   // workers start elsewhere
    const std::string modulePath = fullPath;
    Host host;
    std::string error;
    if (!StartHost(host, modulePath, error)) {
        std::fprintf(stderr, "qtxhost: %s\n", error.c_str());
        return 2;
    }
    const CatalogueView view = ReadCatalogue(host);   // the calls point into it
    const std::vector<SweepCall> calls = PlanSweep(view);
    const std::string scratch = EnterScratchDirectory();
    if (scratch.empty()) {
        std::fprintf(stderr, "qtxhost: cannot make a scratch directory\n");
        return 2;
    }
    // "TempFileName$(" makes its files in the temporary folder: the workers' is the scratch one.
    for (const char* variable : {"TMP", "TEMP"}) SetEnvironmentVariableA(variable, scratch.c_str());
    const int status = RunWorkers(hostPath, modulePath, calls);
    LeaveScratchDirectory(scratch);   // on every way out, the early ones too
    return status;
}

int SweepWorker(Host& host, std::size_t first) {
    SetUnhandledExceptionFilter(ReportWorkerCrash);
    host.quietServices = true;
    host.launchMode = LaunchMode::RECORD;
    const CatalogueView view = ReadCatalogue(host);
    const RunInfos infos = QueryRunInfos(host.api);
    const std::vector<SweepCall> calls = PlanSweep(view);
    char home[MAX_PATH * 2] = "";
    _getcwd(home, sizeof home);
    for (std::size_t i = first; i < calls.size(); ++i) {
        announcedCall = i;
        std::printf("call %zu\n", i);
        std::fflush(stdout);
        HostObject* object = CreateHostObject(host, "sweep");
        InvokeEntry(host, infos, object->rd, *calls[i].entry, calls[i].args);
        DestroyAllObjects(host);
        _chdir(home);
    }
    return 0;
}
