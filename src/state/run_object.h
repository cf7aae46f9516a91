// Creating and destroying an object's run-time record.
#pragma once

#include "state/run_data.h"

// "All files|*.*||": the filter list of a new object and of "Set extension filter" without text.
constexpr char DEFAULT_FILTER_TEXT[] = "All files|*.*||";
static_assert(sizeof(DEFAULT_FILTER_TEXT) == 16);

// Sets up a record the host allocated: workPath, the directory current now, the default selector
// settings. Answers 0, or 1 with 12 in lastError when workPath cannot be had.
extern "C" int WINAPI CreateRunObject(RunData* rd, HostWord, HostWord);

// Puts back the directory current at creation and frees the record's buffers. Answers 0.
extern "C" short WINAPI DestroyRunObject(RunData* rd, HostWord);
