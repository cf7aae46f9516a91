// The module's instance handle, kept at process attach; every string and menu loads from it.
#pragma once

#include <windows.h>

extern HINSTANCE moduleInstance;
