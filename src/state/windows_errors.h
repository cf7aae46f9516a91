// The runtime library's errno for a platform error code, for the actions that call the platform
// directly where the runtime would have called it for them: the code an application sees is the
// one the runtime's own call would have stored.
#pragma once

#include <windows.h>
#include <cstdint>

// The errno the runtime library sets when one of its calls fails with this platform error:
// EINVAL (22) for any error it does not name.
std::uint32_t RuntimeErrnoOf(DWORD error);

// True when the platform's error says a name was already taken (CREATE_NEW, a rename that does
// not replace).
bool IsTaken(DWORD error);
