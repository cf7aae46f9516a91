// The refusal of names that CopyPath would cut, shared by every directory and file action, and
// the runtime's test of a name.
#include <io.h>

#include "fileops/file_names.h"
#include "state/host_services.h"
#include "state/last_error.h"

bool TakeWholeName(RunData* rd, char* destination, HostWord name) {
    CopyPath(destination, TextParameter(name));
    return NameIsWhole(rd, name);
}

bool NameExists(const char* name) {
    return _access(name, ACCESS_EXISTS) != ACCESS_FAILED;
}

bool NameIsWhole(RunData* rd, HostWord name) {
    if (FitsPath(TextParameter(name))) return true;
    StoreOutcome(rd, ERROR_CODE_NAME_TOO_LONG);
    return false;
}

