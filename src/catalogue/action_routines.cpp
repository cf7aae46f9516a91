// The action routine table: entry n is the handler of action code n.
#include "catalogue/catalogue.h"
#include "fileops/file_actions.h"
#include "launcher/run_application.h"
#include "selector/directory_selector.h"
#include "selector/file_selector.h"
#include "selector/selector_settings.h"
#include "state/last_error.h"

const ActionRoutine ActionRoutines[ACTION_COUNT + 1] = {
    ActionChangeDirectory,       // 0 "Change the current directory", fileops/directory_actions.cpp
    ActionSetOriginalDirectory,  // 1 "Set directory to original", fileops/directory_actions.cpp
    ActionCreateDirectory,       // 2 "Create a directory", fileops/directory_actions.cpp
    ActionDeleteDirectory,       // 3 "Delete a directory", fileops/directory_actions.cpp
    ActionCreateFile,            // 4 "Create a file", fileops/file_actions.cpp
    ActionDeleteFile,            // 5 "Delete a file", fileops/file_actions.cpp
    ActionRenameFile,            // 6 "Rename a file", fileops/file_actions.cpp
    ActionAppendFile,            // 7 "Append a file to a file", fileops/stream_actions.cpp
    ActionCopyFile,              // 8 "Copy a file", fileops/stream_actions.cpp
    ActionMoveFile,              // 9 "Move a file", fileops/stream_actions.cpp
    ActionAppendText,            // 10 "Append text to a file", fileops/stream_actions.cpp
    ActionClearLastError,        // 11 "Clear the last error", fileops/sticky_error.cpp
    ActionRunApplication,        // 12 "Run application", launcher/run_application.cpp
    ActionSetTitle,              // 13 "Set title", selector/selector_settings.cpp
    ActionSetStyle,              // 14 "Set style", selector/selector_settings.cpp
    ActionSetDefaultStyle,       // 15 style to default, selector/selector_settings.cpp
    ActionSetExtensionFilter,    // 16 "Set extension filter", selector/selector_settings.cpp
    ActionSetDefaultExtension,   // 17 "Set default extension", selector/selector_settings.cpp
    ActionOpenLoadSelector,      // 18 "Open load selector", selector/file_selector.cpp
    ActionOpenSaveSelector,      // 19 "Open save selector", selector/file_selector.cpp
    ActionSingleSelection,       // 20 "Single", selector/selector_settings.cpp
    ActionMultipleSelection,     // 21 "Multiple", selector/selector_settings.cpp
    ActionOpenDirectorySelector, // 22 "Open directory selector", selector/directory_selector.cpp
    nullptr,
};
