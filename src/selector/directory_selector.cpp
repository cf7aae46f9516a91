// The directory selector (action 22) and its browser callback.
#include <windows.h>
#include <direct.h>
#include <objbase.h>
#include <shlobj.h>
#include <cstring>
#include <iterator>

#include "selector/chosen_names.h"
#include "selector/directory_selector.h"
#include "selector/selector_buffer.h"
#include "selector/selector_settings.h"
#include "selector/wide_routines.h"
#include "state/host_services.h"
#include "state/name_characters.h"
#include "state/path_names.h"

namespace {

constexpr char DEFAULT_BROWSER_TITLE[] = "Choose Directory";

void EnableOk(HWND browser, bool enabled) {
    SendMessageA(browser, BFFM_ENABLEOK, 0, enabled ? 1 : 0);
}

// The browser has opened: select the initial folder when the process can enter it.
void SelectInitialFolder(HWND browser, RunData* rd) {
    const char* initial = rd->selectorBuffer;
    if (initial && initial[0] && _chdir(initial) == 0) {
        SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(initial));
        EnableOk(browser, true);
        return;
    }
    EnableOk(browser, false);
}

// OK only for an item that has a file-system path.
void JudgeSelection(HWND browser, LPARAM item, LPARAM data) {
    bool hasPath = false;
    if (data) {
        char path[PATH_BUFFER_SIZE] = "";
        hasPath = SHGetPathFromIDListA(reinterpret_cast<PCIDLIST_ABSOLUTE>(item), path) && path[0];
    }
    EnableOk(browser, hasPath);
}

// The ANSI browser (Windows 95, 98, ME): the chosen folder's path goes into the buffer as the
// platform spells it. False when cancelled.
bool BrowseAnsi(RunData* rd, BROWSEINFOA& browse, IMalloc* allocator) {
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&browse);
    if (!chosen) return false;
    SHGetPathFromIDListA(chosen, rd->selectorBuffer);
    allocator->Free(chosen);
    return true;
}

// The wide browser: the chosen folder's path goes into the buffer spelt so that it leads to that
// folder. False when cancelled or when no name leads to it.
bool BrowseWide(RunData* rd, const BROWSEINFOA& ansi, const WideRoutines& wide, IMalloc* allocator) {
    wchar_t displayName[MAX_PATH], title[SELECTOR_TITLE_SIZE + 1], path[MAX_PATH];
    BROWSEINFOW browse;
    std::memset(&browse, 0, sizeof browse);
    browse.hwndOwner = ansi.hwndOwner;
    browse.pszDisplayName = displayName;
    browse.lpszTitle = Widen(ansi.lpszTitle, title, std::size(title));
    browse.ulFlags = ansi.ulFlags;
    browse.lpfn = ansi.lpfn;
    browse.lParam = ansi.lParam;
    PIDLIST_ABSOLUTE chosen = wide.browseForFolder(&browse);
    if (!chosen) return false;
    const bool spelt = wide.pathFromIdList(chosen, path) && SpellChosenPath(wide, path, rd->selectorBuffer, PATH_BUFFER_SIZE);
    allocator->Free(chosen);
    return spelt;
}

// Shows the browser with the shell's allocator; the buffer gets the chosen folder's path on OK.
// Cancel, and a choice no name leads to, leave the initial path.
void BrowseForFolder(RunData* rd) {
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator))) return;   // no browser; the buffer keeps the initial path
    BROWSEINFOA browse;
    std::memset(&browse, 0, sizeof browse);
    browse.hwndOwner = MainWindow(rd);
    browse.pidlRoot = nullptr;
    browse.pszDisplayName = rd->selectorBuffer;
    char title[SELECTOR_TITLE_SIZE + 1];
    const char* shown = ShownSetting(title, rd->selectorTitle, SELECTOR_TITLE_SIZE);
    browse.lpszTitle = shown ? shown : DEFAULT_BROWSER_TITLE;
    browse.ulFlags = BIF_NEWDIALOGSTYLE;
    browse.lpfn = BrowseFolderCallback;
    browse.lParam = reinterpret_cast<LPARAM>(rd);
    // Some browsers write a display name even when cancelled; cancel must leave the initial path.
    char initialPath[PATH_BUFFER_SIZE];
    std::memcpy(initialPath, rd->selectorBuffer, sizeof initialPath);
    WideRoutines wide;
    const bool chosen = FindWideRoutines(wide) ? BrowseWide(rd, browse, wide, allocator) : BrowseAnsi(rd, browse, allocator);
    if (!chosen) std::memcpy(rd->selectorBuffer, initialPath, sizeof initialPath);
    allocator->Release();
}

}  // namespace

extern "C" int CALLBACK BrowseFolderCallback(HWND browser, UINT message, LPARAM parameter, LPARAM data) {
    if (message == BFFM_INITIALIZED) {
        if (data) SelectInitialFolder(browser, reinterpret_cast<RunData*>(data));
    } else if (message == BFFM_SELCHANGED) {
        JudgeSelection(browser, parameter, data);
    }
    return 0;
}

extern "C" HostWord WINAPI ActionOpenDirectorySelector(RunData* rd, HostWord initialPath, HostWord) {
    if (!ReserveSelectorBuffer(rd, SINGLE_RESULT_SIZE)) return 0;
    const char* path = TextParameter(initialPath);
    rd->selectorBuffer[0] = '\0';
    if (path) CopyPath(rd->selectorBuffer, path);   // at most 259 bytes, cut between characters
    rd->multiSelect = 0;
    BeforeModalDialog(rd);
    // COM must be initialised on this thread for the browser. When the thread already runs in
    // another apartment mode CoInitialize fails, COM is usable all the same, and there is
    // nothing of ours to uninitialise afterwards.
    const bool comStarted = SUCCEEDED(CoInitialize(nullptr));
    BrowseForFolder(rd);
    if (comStarted) CoUninitialize();
    AfterModalDialog(rd);
    return 0;
}
