// Each routine is asked of the system library that holds it; all are found or none is used.
#include "selector/wide_routines.h"
#include "state/windows_version.h"

namespace {

template <typename Routine>
bool Find(const char* library, const char* name, Routine& slot) {
    slot = PlatformCall<Routine>(library, name);
    return slot != nullptr;
}

}  // namespace

bool FindWideRoutines(WideRoutines& routines) {
    if (!IsNtPlatform()) return false;   // 9x exports some of them as stubs that do nothing
    return Find(DIALOG_LIBRARY, "GetOpenFileNameW", routines.getOpenFileName) &&
           Find(DIALOG_LIBRARY, "GetSaveFileNameW", routines.getSaveFileName) &&
           Find(SHELL_LIBRARY, "SHBrowseForFolderW", routines.browseForFolder) &&
           Find(SHELL_LIBRARY, "SHGetPathFromIDListW", routines.pathFromIdList) &&
           Find(KERNEL_LIBRARY, "FindFirstFileW", routines.findFirstFile) && Find(KERNEL_LIBRARY, "CreateFileW", routines.createFile);
}

const wchar_t* Widen(const char* text, wchar_t* wide, std::size_t count) {
    if (!text) return nullptr;
    if (MultiByteToWideChar(CP_ACP, 0, text, -1, wide, static_cast<int>(count)) == 0) wide[0] = L'\0';
    wide[count - 1] = L'\0';
    return wide;
}
