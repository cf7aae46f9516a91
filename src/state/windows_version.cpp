// GetVersionExA, asked afresh each time: the answers are few and never on a hot path; and the
// calls looked up in the loaded system libraries.
#include <windows.h>

#include "state/windows_version.h"

namespace {

// The platform's version record; all zero when it cannot be had.
OSVERSIONINFOA RunningWindows() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    if (!GetVersionExA(&version)) return OSVERSIONINFOA{};
    return version;
}

}  // namespace

FARPROC PlatformAddress(const char* library, const char* name) {
    const HMODULE loaded = GetModuleHandleA(library);
    return loaded ? GetProcAddress(loaded, name) : nullptr;
}

bool IsNtPlatform() {
    return RunningWindows().dwPlatformId == VER_PLATFORM_WIN32_NT;
}

bool PlatformDeletesThroughHandles() {
    return IsNtPlatform();
}

bool PlatformHasSizableDialogs() {
    const OSVERSIONINFOA version = RunningWindows();
    if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS)
        return version.dwMajorVersion > 4 || (version.dwMajorVersion == 4 && version.dwMinorVersion > 0);
    if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) return version.dwMajorVersion >= 5;
    return false;
}
