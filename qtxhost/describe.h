#pragma once

#include "host_runtime.h"

// Prints what the authoring host's editor would see of the module. Returns the exit code.
int Describe(Host& host);
