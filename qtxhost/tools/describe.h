#pragma once

#include "runtime/host_runtime.h"

// Prints what the authoring host's editor would see of the module. Returns the exit code.
int Describe(Host& host);

// The same catalogue as one JSON document: identity, and per kind its menu tree (items with
// their command id and code) and its entries (code, display string, menu paths, parameters).
int DescribeJson(Host& host);
