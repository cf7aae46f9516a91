// Reading the selector result buffer back: the path, the number of files, each full path.
#pragma once

#include "state/run_data.h"

// The directory of a multiple-selection result joined with its entry-th name (counted from 1),
// in a fresh host string; the static empty string when there is no such entry or no string.
// Leaves hostFlags alone.
HostWord GetListEntry(RunData* rd, std::uint32_t entry);

extern "C" HostWord WINAPI ExpressionFileSelReturn(RunData* rd, HostWord token);
extern "C" HostWord WINAPI ExpressionNumSelFiles(RunData* rd, HostWord token);
extern "C" HostWord WINAPI ExpressionFileSelReturnAt(RunData* rd, HostWord token);
