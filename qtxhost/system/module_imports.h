// The loaded module's calls into the system, each made through a small thunk of the host's: the
// thunk notes the call the module entered last (the line watchdog names it) and jumps to the
// call's target, the real function or one the host plays (played_behaviours.h).
#pragma once

#include <windows.h>
#include <string>

// Points every function import of the module (found through its import descriptors) at a thunk.
// Imports of data are left alone. False with a reason when the module's import table cannot be read.
bool WrapModuleImports(HMODULE module, std::string& error);

// Where the module's calls of the function go from now on: to target, or to the real function
// when target is null. Calls of a function the module imports or has looked up so far.
void RetargetCalls(const char* function, void* target);

// What the module gets for a function it looks up at run time: a thunk of its own for it, which
// jumps to target (the real function when null).
void* LookedUpEntry(const char* dll, const char* function, void* real, void* target);

// "DLL!FUNCTION" of the call the module entered last, or "" before its first call. Another
// thread may ask while the module runs.
std::string LastModuleCall();
