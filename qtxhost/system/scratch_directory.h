// A fresh directory to work in, removed with everything in it afterwards.
#pragma once

#include <string>

// Creates a new directory under the temporary folder and makes it current; "" on failure.
std::string EnterScratchDirectory();
// Leaves it for its parent and removes it, read-only files included.
void LeaveScratchDirectory(const std::string& path);
