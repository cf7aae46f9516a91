// Creating and destroying an object's run-time record, and filling its selector filter list
// from a '|'-separated text (creation uses the default text).
#pragma once

#include "state/run_data.h"

// "All files|*.*||": the filter list of a new object and of "Set extension filter" without text.
constexpr char DEFAULT_FILTER_TEXT[] = "All files|*.*||";
static_assert(sizeof(DEFAULT_FILTER_TEXT) == 16);

// Turns every '|' before the first NUL of the list into NUL; answers where that NUL stands.
char* SplitFilterList(char* filterList);

// Sets up a record the host allocated: workPath, the directory current now, the default selector
// settings. Answers 0, or 1 with 12 in lastError when workPath cannot be had.
extern "C" int WINAPI CreateRunObject(RunData* rd, HostWord, HostWord);

// Puts back the directory current at creation and frees the record's buffers. Answers 0.
extern "C" short WINAPI DestroyRunObject(RunData* rd, HostWord);
