// Windows error numbers as a user reads them.
#pragma once

#include <windows.h>

#include <string>

// "error 5: Access is denied": the number with the system's own words for it, or the number
// alone when the system has none.
std::string WindowsReason(DWORD error);
// "error 126: a library it needs is missing": the number with words of the caller's own.
std::string WindowsReason(DWORD error, const std::string& words);
