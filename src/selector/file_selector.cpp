// The load and save selectors: the dialog record, the hook, and the two actions.
#include <cstring>

#include "selector/file_selector.h"
#include "selector/selector_buffer.h"
#include "selector/selector_settings.h"
#include "state/host_services.h"
#include "state/windows_version.h"

namespace {

constexpr std::size_t INITIAL_PATH_LENGTH = PATH_BUFFER_SIZE - 1;   // characters the initial path keeps

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

// The field's text ended at the field's end at the latest: copy is one byte longer than field.
// Null when the text is empty.
const char* BoundedTextOrNull(char* copy, const char* field, std::size_t fieldSize) {
    std::memcpy(copy, field, fieldSize);
    copy[fieldSize] = '\0';
    return copy[0] ? copy : nullptr;
}

HostWord OpenFileSelector(RunData* rd, HostWord initialPath, int kind) {
    FileSelectorDialog dialog;
    if (!PrepareFileSelector(rd, &dialog, TextParameter(initialPath), kind)) return 0;
    BeforeModalDialog(rd);
    const BOOL chosen = kind == SAVE_SELECTOR ? GetSaveFileNameA(&dialog.record) : GetOpenFileNameA(&dialog.record);
    if (chosen)
        rd->filterIndex = static_cast<std::int32_t>(dialog.record.nFilterIndex);
    else
        EmptySelectorResult(rd);   // cancelled, or the dialog failed
    AfterModalDialog(rd);
    return 0;
}

}  // namespace

int PrepareFileSelector(RunData* rd, FileSelectorDialog* dialog, const char* initialPath, int kind) {
    char path[PATH_BUFFER_SIZE] = "";
    if (initialPath) {
        std::strncpy(path, initialPath, INITIAL_PATH_LENGTH);
        path[INITIAL_PATH_LENGTH] = '\0';
    }

    DWORD flags = kind == SAVE_SELECTOR ? SAVE_SELECTOR_FLAGS : LOAD_SELECTOR_FLAGS;
    if (PlatformHasSizableDialogs()) flags |= OFN_ENABLESIZING;
    flags = ApplyStyle(flags, rd->selectorStyle);
    std::uint32_t roomNeeded = SINGLE_RESULT_SIZE;
    if (kind == LOAD_SELECTOR && rd->multiSelect) {
        flags |= OFN_ALLOWMULTISELECT;
        roomNeeded = MULTIPLE_RESULT_SIZE;
    }

    if (!ReserveSelectorBuffer(rd, roomNeeded)) return 0;
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
    record.lpstrTitle = BoundedTextOrNull(dialog->title, rd->selectorTitle, SELECTOR_TITLE_SIZE);
    record.lpstrDefExt = BoundedTextOrNull(dialog->defaultExtension, rd->defaultExtension, DEFAULT_EXTENSION_SIZE);
    if (HostAllowsHook(rd)) {
        flags |= OFN_ENABLEHOOK;
        record.lpfnHook = FileSelectorHook;
    }
    record.Flags = flags;
    return 1;
}

extern "C" UINT_PTR CALLBACK FileSelectorHook(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? 1 : 0;
}

extern "C" HostWord WINAPI ActionOpenLoadSelector(RunData* rd, HostWord initialPath, HostWord) {
    return OpenFileSelector(rd, initialPath, LOAD_SELECTOR);
}

extern "C" HostWord WINAPI ActionOpenSaveSelector(RunData* rd, HostWord initialPath, HostWord) {
    return OpenFileSelector(rd, initialPath, SAVE_SELECTOR);
}
