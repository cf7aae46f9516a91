// The string results of this subsystem's expressions, made by the rule every string expression follows.
#pragma once

#include "state/run_data.h"

// A buffer of size bytes from the host, already made the empty string; null when the host has none.
char* EmptyResult(RunData* rd, std::size_t size);

// Sets STRING_RESULT and answers the result, or the static empty string when there is no buffer.
HostWord StringResult(RunData* rd, const char* result);
