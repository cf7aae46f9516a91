// The load and save selectors: the platform's Open and Save As dialogs set up from the settings.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include "state/run_data.h"

// Flags of the dialog record, as the load and save selectors use them.
constexpr DWORD LOAD_SELECTOR_FLAGS = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR |
                                      OFN_HIDEREADONLY;
constexpr DWORD SAVE_SELECTOR_FLAGS = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY |
                                      OFN_OVERWRITEPROMPT;
static_assert(LOAD_SELECTOR_FLAGS == 0x8180C && SAVE_SELECTOR_FLAGS == 0x8080E);

// Which dialog a selector action shows; the numbers are the save flag the record is prepared with.
enum class SelectorKind { LOAD = 0, SAVE = 1 };

// Room after a copied filter list for the NULs that end any walk over it, pair by pair.
constexpr std::size_t FILTER_LIST_ENDING = 3;

// The dialog record with the buffers it points to, so that they live exactly as long as the
// record the dialog is given: the file-title scratch buffer, and copies of the title, the
// default extension and the filters, each ended within its field's size (a loaded state
// need not end them), so that the dialog never reads past a field. In the ANSI form, and in
// the wide form made from it where the platform has wide dialogs.
template <typename Record, typename Character>
struct SelectorDialog {
    Record record;
    Character fileTitle[PATH_BUFFER_SIZE];
    Character title[SELECTOR_TITLE_SIZE + 1];
    Character defaultExtension[DEFAULT_EXTENSION_SIZE + 1];
    Character filters[FILTER_LIST_SIZE + FILTER_LIST_ENDING];
};
using FileSelectorDialog = SelectorDialog<OPENFILENAMEA, char>;
using WideFileDialog = SelectorDialog<OPENFILENAMEW, wchar_t>;

// Fills the dialog record from the object's settings and reserves the result buffer, which
// receives the initial path. True when ready, false when the buffer could not be allocated.
bool PrepareFileSelector(RunData* rd, FileSelectorDialog* dialog, const char* initialPath, SelectorKind kind);

// The hook the dialogs get unless the host forbids it: answers 1 to WM_INITDIALOG, else 0.
extern "C" UINT_PTR CALLBACK FileSelectorHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

extern "C" HostWord WINAPI ActionOpenLoadSelector(RunData* rd, HostWord initialPath, HostWord unused);
extern "C" HostWord WINAPI ActionOpenSaveSelector(RunData* rd, HostWord initialPath, HostWord unused);
