// "qtxhost run": plays the run-time host through a script of conditions, actions and expressions.
#pragma once

#include <map>
#include <string>

#include "runtime/catalogue_view.h"
#include "runtime/script_values.h"

struct RunOptions {
    std::string scriptPath;
    bool scratch = false;                  // run inside a fresh directory, removed afterwards
    std::map<std::string, Value> variables;
};

// Exit codes: 0 every expectation met, 1 some failed, 2 the script itself is wrong.
int RunScript(Host& host, const RunOptions& options);
