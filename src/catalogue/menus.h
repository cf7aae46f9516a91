#pragma once

#include <windows.h>

// Appends a copy of every item of source to destination: command items with their id and
// state, popups (recursively) with their text, separators. Texts keep at most 79 characters.
void CopyMenuItems(HMENU destination, HMENU source);
