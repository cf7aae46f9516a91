// Load-time entry: keep the instance handle, nothing else. DllMain is the module's entry point
// itself (no runtime start-up code runs before it), so it calls nothing that needs one.
#include "module/module_instance.h"

HINSTANCE moduleInstance = nullptr;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) moduleInstance = instance;
    return TRUE;
}
