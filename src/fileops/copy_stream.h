// Moving the rest of one open stream into another through one small buffer.
#pragma once

#include <cstdio>

#include "state/run_data.h"

// Copies until the source ends or a write falls short, then flushes the destination. Answers
// ERROR_CODE_STREAM when either stream's error indicator is set afterwards, else 0. Opens and
// closes nothing.
std::uint32_t CopyStream(RunData* rd, FILE* source, FILE* destination);
