// The condition routine table: entry n is the handler of condition code n.
#include "catalogue/catalogue.h"
#include "catalogue/pending_handlers.h"

const ConditionRoutine ConditionRoutines[CONDITION_COUNT + 1] = {
    PendingHandler,  // 0 "Last action OK"
    PendingHandler,  // 1 "Name exists"
    PendingHandler,  // 2 "File is readable"
    PendingHandler,  // 3 "File is writeable"
    PendingHandler,  // 4 "Name is a file"
    PendingHandler,  // 5 "Name is a directory"
    nullptr,
};
