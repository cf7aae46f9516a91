// Each routine is asked of the system library that holds it; all are found or none is used.
#include "selector/wide_routines.h"
#include "state/windows_version.h"

namespace {

// The module imports its ANSI calls from these, so they are loaded already.
constexpr char DIALOGS[] = "comdlg32.dll";
constexpr char SHELL[] = "shell32.dll";
constexpr char KERNEL[] = "kernel32.dll";

template <typename Routine>
bool Find(const char* library, const char* name, Routine& slot) {
    const HMODULE module = GetModuleHandleA(library);
    const FARPROC routine = module ? GetProcAddress(module, name) : nullptr;
    slot = reinterpret_cast<Routine>(reinterpret_cast<void*>(routine));
    return routine != nullptr;
}

}  // namespace

bool FindWideRoutines(WideRoutines& routines) {
    if (!IsNtPlatform()) return false;   // 9x exports some of them as stubs that do nothing
    return Find(DIALOGS, "GetOpenFileNameW", routines.getOpenFileName) &&
           Find(DIALOGS, "GetSaveFileNameW", routines.getSaveFileName) &&
           Find(SHELL, "SHBrowseForFolderW", routines.browseForFolder) &&
           Find(SHELL, "SHGetPathFromIDListW", routines.pathFromIdList) &&
           Find(KERNEL, "FindFirstFileW", routines.findFirstFile) && Find(KERNEL, "CreateFileW", routines.createFile);
}
