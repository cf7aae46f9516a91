// The load and save selectors: the dialog record, the hook, and the two actions.
#include <cstring>
#include <iterator>

#include "selector/chosen_names.h"
#include "selector/file_selector.h"
#include "selector/selection_scratch.h"
#include "selector/selector_buffer.h"
#include "selector/selector_settings.h"
#include "selector/wide_routines.h"
#include "state/host_services.h"
#include "state/name_characters.h"
#include "state/path_names.h"
#include "state/windows_version.h"

namespace {

// What one style bit does to the selector flags.
struct StyleEffect {
    std::uint32_t bit;
    DWORD added;
    DWORD removed;
};

// Tested in this order; removing a flag a selector does not set changes nothing.
constexpr StyleEffect STYLE_EFFECTS[] = {
    {STYLE_ALLOW_CREATE_PROMPT, OFN_CREATEPROMPT, 0},
    {STYLE_ALLOW_BAD_FILE, 0, OFN_FILEMUSTEXIST},
    {STYLE_ALLOW_CHANGE_DIR, 0, OFN_NOCHANGEDIR},
    {STYLE_NO_NETWORK, OFN_NONETWORKBUTTON, 0},
    {STYLE_NO_OVERWRITE_PROMPT, 0, OFN_OVERWRITEPROMPT},
    {STYLE_ALLOW_BAD_PATH, 0, OFN_PATHMUSTEXIST},
};

DWORD ApplyStyle(DWORD flags, std::uint32_t style) {
    for (const StyleEffect& effect : STYLE_EFFECTS) {
        if (!(style & effect.bit)) continue;
        flags |= effect.added;
        flags &= ~effect.removed;
    }
    return flags;
}

// The host's application header can forbid the hook (bit 0x08 of its byte 23).
bool HostAllowsHook(const RunData* rd) {
    const std::uint8_t* appHeader = AppHeader(rd);
    return !appHeader || !(appHeader[APP_HEADER_NO_HOOK_BYTE] & APP_HEADER_NO_HOOK_BIT);
}

// The filter strings one by one, then the empty string that ends them.
const wchar_t* WidenFilters(const char* filters, wchar_t* wide, std::size_t count) {
    std::size_t at = 0;
    for (const char* filter = filters; *filter && at + 1 < count; filter += std::strlen(filter) + 1) {
        Widen(filter, wide + at, count - 1 - at);
        while (wide[at]) ++at;
        ++at;
    }
    wide[at] = L'\0';
    return wide;
}

void WidenRecord(const OPENFILENAMEA& ansi, WideFileDialog& dialog, wchar_t* file) {
    std::memset(&dialog, 0, sizeof dialog);
    OPENFILENAMEW& record = dialog.record;
    record.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    record.hwndOwner = ansi.hwndOwner;
    record.lpstrFilter = WidenFilters(ansi.lpstrFilter, dialog.filters, std::size(dialog.filters));
    record.nFilterIndex = ansi.nFilterIndex;
    record.lpstrFile = file;
    record.nMaxFile = ansi.nMaxFile;
    record.lpstrFileTitle = dialog.fileTitle;
    record.nMaxFileTitle = std::size(dialog.fileTitle);
    record.lpstrTitle = Widen(ansi.lpstrTitle, dialog.title, std::size(dialog.title));
    record.lpstrDefExt = Widen(ansi.lpstrDefExt, dialog.defaultExtension, std::size(dialog.defaultExtension));
    record.Flags = ansi.Flags;
    record.lpfnHook = ansi.lpfnHook;
}

bool ChoosesSeveral(const OPENFILENAMEA& record) {
    return (record.Flags & OFN_ALLOWMULTISELECT) != 0;
}

// The dialog's file buffer, as many characters as the ANSI one has bytes and a slack past them,
// holding the initial path: wide where the platform has wide dialogs. Null when the local heap
// has no room.
void* MakeFileScratch(const OPENFILENAMEA& record, bool wideDialogs) {
    if (!wideDialogs) return MakeSelectionScratch(record.nMaxFile, record.lpstrFile);
    wchar_t initial[PATH_BUFFER_SIZE];
    return MakeSelectionScratch(record.nMaxFile, Widen(record.lpstrFile, initial, std::size(initial)));
}

// The wide dialog, the user's choice spelt into the result buffer; false as after Cancel when
// there is none, it does not end within the told space, or no name leads to it.
bool ChooseWide(RunData* rd, FileSelectorDialog& dialog, const WideRoutines& wide, SelectorKind kind, wchar_t* file) {
    WideFileDialog wideDialog;
    WidenRecord(dialog.record, wideDialog, file);
    const auto show = kind == SelectorKind::SAVE ? wide.getSaveFileName : wide.getOpenFileName;
    const bool several = ChoosesSeveral(dialog.record);
    if (!show(&wideDialog.record) || SelectionLength(file, dialog.record.nMaxFile, several) == 0) return false;
    dialog.record.nFilterIndex = wideDialog.record.nFilterIndex;
    return several ? SpellChosenList(wide, file, rd->selectorBuffer, rd->selectorBufferSize)
                   : SpellChosenPath(wide, file, rd->selectorBuffer, rd->selectorBufferSize);
}

// The ANSI dialog (Windows 95, 98, ME) on the scratch block; an answer that ends within the told
// space is copied into the result buffer, which is one byte larger.
bool ChooseAnsi(RunData* rd, FileSelectorDialog& dialog, SelectorKind kind, char* file) {
    const std::size_t told = dialog.record.nMaxFile;
    dialog.record.lpstrFile = file;
    const bool shown = kind == SelectorKind::SAVE ? GetSaveFileNameA(&dialog.record) : GetOpenFileNameA(&dialog.record);
    const std::size_t length = shown ? SelectionLength(file, told, ChoosesSeveral(dialog.record)) : 0;
    if (length == 0) return false;
    std::memcpy(rd->selectorBuffer, file, length);
    return true;
}

// The wide dialogs where the platform has them, else (Windows 95, 98, ME) the ANSI ones. A file
// buffer that cannot be had shows no dialog and leaves the result empty.
HostWord OpenFileSelector(RunData* rd, HostWord initialPath, SelectorKind kind) {
    FileSelectorDialog dialog;
    if (!PrepareFileSelector(rd, &dialog, TextParameter(initialPath), kind)) return 0;
    WideRoutines wide;
    const bool wideDialogs = FindWideRoutines(wide);
    void* file = MakeFileScratch(dialog.record, wideDialogs);
    if (!file) {
        EmptySelectorResult(rd);
        return 0;
    }
    BeforeModalDialog(rd);
    const bool chosen = wideDialogs ? ChooseWide(rd, dialog, wide, kind, static_cast<wchar_t*>(file))
                                    : ChooseAnsi(rd, dialog, kind, static_cast<char*>(file));
    if (chosen)
        rd->filterIndex = static_cast<std::int32_t>(dialog.record.nFilterIndex);
    else
        EmptySelectorResult(rd);   // cancelled, the dialog failed, too long a list, or no name leads to the choice
    AfterModalDialog(rd);
    LocalFree(file);
    return 0;
}

}  // namespace

bool PrepareFileSelector(RunData* rd, FileSelectorDialog* dialog, const char* initialPath, SelectorKind kind) {
    char path[PATH_BUFFER_SIZE];
    CopyPath(path, initialPath);   // at most 259 bytes, cut between characters

    DWORD flags = kind == SelectorKind::SAVE ? SAVE_SELECTOR_FLAGS : LOAD_SELECTOR_FLAGS;
    if (PlatformHasSizableDialogs()) flags |= OFN_ENABLESIZING;
    flags = ApplyStyle(flags, rd->selectorStyle);
    std::uint32_t roomNeeded = SINGLE_RESULT_SIZE;
    if (kind == SelectorKind::LOAD && rd->multiSelect) {
        flags |= OFN_ALLOWMULTISELECT;
        roomNeeded = MULTIPLE_RESULT_SIZE;
    }

    if (!ReserveSelectorBuffer(rd, roomNeeded)) return false;
    std::memcpy(rd->selectorBuffer, path, std::strlen(path) + 1);

    std::memset(dialog, 0, sizeof(*dialog));
    std::memcpy(dialog->filters, rd->filterList, FILTER_LIST_SIZE);   // the NULs after it stay
    OPENFILENAMEA& record = dialog->record;
    record.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    record.hwndOwner = MainWindow(rd);
    record.lpstrFilter = dialog->filters;
    record.nFilterIndex = static_cast<DWORD>(rd->filterIndex);
    record.lpstrFile = rd->selectorBuffer;
    record.nMaxFile = rd->selectorBufferSize - 1;
    record.lpstrFileTitle = dialog->fileTitle;
    record.nMaxFileTitle = sizeof(dialog->fileTitle);
    record.lpstrTitle = ShownSetting(dialog->title, rd->selectorTitle, SELECTOR_TITLE_SIZE);
    record.lpstrDefExt = ShownSetting(dialog->defaultExtension, rd->defaultExtension, DEFAULT_EXTENSION_SIZE);
    if (HostAllowsHook(rd)) {
        flags |= OFN_ENABLEHOOK;
        record.lpfnHook = FileSelectorHook;
    }
    record.Flags = flags;
    return true;
}

extern "C" UINT_PTR CALLBACK FileSelectorHook(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? 1 : 0;
}

extern "C" HostWord WINAPI ActionOpenLoadSelector(RunData* rd, HostWord initialPath, HostWord) {
    return OpenFileSelector(rd, initialPath, SelectorKind::LOAD);
}

extern "C" HostWord WINAPI ActionOpenSaveSelector(RunData* rd, HostWord initialPath, HostWord) {
    return OpenFileSelector(rd, initialPath, SelectorKind::SAVE);
}
