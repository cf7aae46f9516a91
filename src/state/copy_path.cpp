#include <cstring>

#include "state/run_data.h"

void CopyPath(char* destination, const char* source) {
    if (!destination) return;
    std::strncpy(destination, source ? source : "", PATH_BUFFER_SIZE);
    destination[PATH_BUFFER_SIZE - 1] = '\0';
}
