// The refusal of names that CopyPath would cut, shared by every directory and file action.
#include "fileops/sticky_error.h"
#include "fileops/whole_name.h"

bool TakeWholeName(RunData* rd, char* destination, HostWord name) {
    if (CopyWholePath(destination, TextParameter(name))) return true;
    rd->lastError = ERROR_CODE_NAME_TOO_LONG;
    return false;
}
