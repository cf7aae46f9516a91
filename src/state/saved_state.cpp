// Saving and loading the selector state in the host's save file.
#include "state/run_data.h"

// Nothing is saved yet: both answer failure until the selectors exist.
extern "C" int WINAPI SaveRunObject(RunData*, HANDLE) {
    return 0;
}

extern "C" int WINAPI LoadRunObject(RunData*, HANDLE) {
    return 0;
}
