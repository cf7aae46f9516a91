// The condition routine table: entry n is the handler of condition code n.
#include "catalogue/catalogue.h"
#include "fileops/name_tests.h"

const ConditionRoutine ConditionRoutines[CONDITION_COUNT + 1] = {
    ConditionLastActionOk,        // 0 "Last action OK", fileops/access_tests.cpp
    ConditionNameExists,          // 1 "Name exists", fileops/access_tests.cpp
    ConditionFileIsReadable,      // 2 "File is readable", fileops/access_tests.cpp
    ConditionFileIsWriteable,     // 3 "File is writeable", fileops/writeable_condition.cpp
    ConditionNameIsFile,          // 4 "Name is a file", fileops/kind_tests.cpp
    ConditionNameIsDirectory,     // 5 "Name is a directory", fileops/kind_tests.cpp
    nullptr,
};
