// The action routine table: entry n is the handler of action code n.
#include "catalogue/catalogue.h"
#include "catalogue/pending_handlers.h"
#include "selector/directory_selector.h"
#include "selector/file_selector.h"
#include "selector/selector_settings.h"

const ActionRoutine ActionRoutines[ACTION_COUNT + 1] = {
    PendingHandler,  // 0 "Change the current directory"
    PendingHandler,  // 1 "Set directory to original"
    PendingHandler,  // 2 "Create a directory"
    PendingHandler,  // 3 "Delete a directory"
    PendingHandler,  // 4 "Create a file"
    PendingHandler,  // 5 "Delete a file"
    PendingHandler,  // 6 "Rename a file"
    PendingHandler,  // 7 "Append a file to a file"
    PendingHandler,  // 8 "Copy a file"
    PendingHandler,  // 9 "Move a file"
    PendingHandler,  // 10 "Append text to a file"
    PendingHandler,  // 11 "Clear the last error"
    PendingHandler,  // 12 "Run application"
    ActionSetTitle,  // 13 "Set title", selector/selector_settings.cpp
    ActionSetStyle,  // 14 "Set style", selector/selector_settings.cpp
    ActionSetDefaultStyle,  // 15 style to default, selector/selector_settings.cpp
    ActionSetExtensionFilter,  // 16 "Set extension filter", selector/selector_settings.cpp
    ActionSetDefaultExtension,  // 17 "Set default extension", selector/selector_settings.cpp
    ActionOpenLoadSelector,  // 18 "Open load selector", selector/file_selector.cpp
    ActionOpenSaveSelector,  // 19 "Open save selector", selector/file_selector.cpp
    ActionSingleSelection,  // 20 "Single", selector/selector_settings.cpp
    ActionMultipleSelection,  // 21 "Multiple", selector/selector_settings.cpp
    ActionOpenDirectorySelector,  // 22 "Open directory selector", selector/directory_selector.cpp
    nullptr,
};
