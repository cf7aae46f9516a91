#include <cstring>

#include "state/name_characters.h"
#include "state/run_data.h"

void CopyPath(char* destination, const char* source) {
    if (!destination) return;
    CopyCharacters(destination, source, PATH_BUFFER_SIZE - 1);
}

bool CopyWholePath(char* destination, const char* source) {
    CopyPath(destination, source);
    return FitsPath(source);
}

bool FitsPath(const char* source) {
    return !source || strnlen(source, PATH_BUFFER_SIZE) < PATH_BUFFER_SIZE;
}
