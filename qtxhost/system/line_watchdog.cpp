#include "system/line_watchdog.h"

#include <windows.h>
#include <cstdio>

#include "system/module_imports.h"

namespace {

constexpr UINT FAILED_LINE_EXIT_CODE = 1;   // a line that overran or crashed, as a failed expectation
constexpr DWORD MS_PER_SECOND = 1000;

struct WatchedLine {
    int number = 0;   // 0: no line runs
    std::string call;
    DWORD start = 0;
    DWORD limit = 0;   // ms
};

CRITICAL_SECTION guard;
HANDLE changed = nullptr;   // set whenever the watched line changes, or the watch ends
HANDLE watcher = nullptr;
WatchedLine watched;
bool stopping = false;
void (*cleanUpRoutine)() = nullptr;

WatchedLine Watched(bool* stop = nullptr) {
    EnterCriticalSection(&guard);
    const WatchedLine line = watched;
    if (stop) *stop = stopping;
    LeaveCriticalSection(&guard);
    return line;
}

// The first of the watchdog and the crash handler to end the host says why; the other stays
// silent. Ending a thread blocked in a call can raise an exception in it (seen through qemu): that
// is no crash of the line's.
volatile LONG ending = 0;

bool FirstToEnd() {
    return InterlockedExchange(&ending, 1) == 0;
}

void Report(const WatchedLine& line) {
    const std::string last = LastModuleCall();
    std::printf("%d: FAIL: no answer after %lu s, in %s (the module's last system call: %s)\n", line.number,
                line.limit / MS_PER_SECOND, line.call.c_str(), last.empty() ? "none" : last.c_str());
    std::fflush(stdout);
    std::fprintf(stderr, "qtxhost: line %d ran past its limit of %lu s; the script stops\n", line.number,
                 line.limit / MS_PER_SECOND);
    std::fflush(stderr);
}

// Waits out each line's limit; a line still the same one at its end has overrun.
DWORD WINAPI Watch(void*) {
    for (;;) {
        bool stop = false;
        const WatchedLine line = Watched(&stop);
        if (stop) return 0;
        DWORD wait = INFINITE;
        if (line.number) {
            const DWORD spent = GetTickCount() - line.start;
            wait = spent < line.limit ? line.limit - spent : 0;
        }
        if (WaitForSingleObject(changed, wait) != WAIT_TIMEOUT) continue;
        const WatchedLine now = Watched();
        if (now.number != line.number || now.start != line.start || now.limit != line.limit) continue;
        if (!FirstToEnd()) Sleep(INFINITE);   // a crash is being reported
        Report(now);
        if (cleanUpRoutine) cleanUpRoutine();
        TerminateProcess(GetCurrentProcess(), FAILED_LINE_EXIT_CODE);   // the line's thread cannot be unwound
    }
}

// A crash would otherwise end the host in silence, its buffered output lost with it: the line
// that crashed fails like one that overran, after everything printed before it.
LONG WINAPI ReportLineCrash(EXCEPTION_POINTERS* info) {
    if (!FirstToEnd()) Sleep(INFINITE);   // the host is ending already
    const WatchedLine line = Watched();
    const std::string last = LastModuleCall();
    std::printf("%d: FAIL: crashed with exception 0x%08lX at %p, in %s (the module's last system call: %s)\n",
                line.number, info->ExceptionRecord->ExceptionCode, info->ExceptionRecord->ExceptionAddress,
                line.number ? line.call.c_str() : "no line", last.empty() ? "none" : last.c_str());
    std::fflush(stdout);
    std::fprintf(stderr, "qtxhost: line %d crashed; the script stops\n", line.number);
    std::fflush(stderr);
    if (cleanUpRoutine) cleanUpRoutine();
    TerminateProcess(GetCurrentProcess(), FAILED_LINE_EXIT_CODE);
    return EXCEPTION_EXECUTE_HANDLER;
}

void Change(int number, const std::string& call, DWORD start, DWORD limit) {
    EnterCriticalSection(&guard);
    watched = WatchedLine{number, call, start, limit};
    LeaveCriticalSection(&guard);
    SetEvent(changed);
}

}  // namespace

void StartLineWatchdog(void (*cleanUp)()) {
    InitializeCriticalSection(&guard);
    changed = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    cleanUpRoutine = cleanUp;
    watcher = CreateThread(nullptr, 0, Watch, nullptr, 0, nullptr);
    SetUnhandledExceptionFilter(ReportLineCrash);
}

void StopLineWatchdog() {
    if (!watcher) return;
    EnterCriticalSection(&guard);
    stopping = true;
    LeaveCriticalSection(&guard);
    SetEvent(changed);
    WaitForSingleObject(watcher, INFINITE);
    CloseHandle(watcher);
    watcher = nullptr;
}

void WatchLine(int number, const std::string& call, unsigned seconds) {
    Change(number, call, GetTickCount(), seconds * MS_PER_SECOND);
}

void WatchCall(const std::string& call, unsigned seconds) {
    const WatchedLine line = Watched();
    Change(line.number, call, line.start, seconds ? seconds * MS_PER_SECOND : line.limit);
}

void LineDone() {
    Change(0, "", 0, 0);
}
