// Windows error numbers as a user reads them.
#pragma once

#include <windows.h>

#include <string>

// "error 5: Access is denied": the number with the system's own words for it, or the number
// alone when the system has none.
std::string WindowsReason(DWORD error);
