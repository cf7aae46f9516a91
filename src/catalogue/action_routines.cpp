// The action routine table: entry n is the handler of action code n.
#include "catalogue/catalogue.h"
#include "catalogue/pending_handlers.h"

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
    PendingHandler,  // 13 "Set title"
    PendingHandler,  // 14 "Set style"
    PendingHandler,  // 15 style to default
    PendingHandler,  // 16 "Set extension filter"
    PendingHandler,  // 17 "Set default extension"
    PendingHandler,  // 18 "Open load selector"
    PendingHandler,  // 19 "Open save selector"
    PendingHandler,  // 20 "Single"
    PendingHandler,  // 21 "Multiple"
    PendingHandler,  // 22 "Open directory selector"
    nullptr,
};
