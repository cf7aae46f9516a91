// Filling the selector filter list from a '|'-separated text (creation uses the default text).
#pragma once

#include "state/run_data.h"

// "All files|*.*||": the filter list of a new object and of "Set extension filter" without text.
constexpr char DEFAULT_FILTER_TEXT[] = "All files|*.*||";
static_assert(sizeof(DEFAULT_FILTER_TEXT) == 16);

// Turns every '|' before the first NUL of the list into NUL; answers where that NUL stands.
char* SplitFilterList(char* filterList);
