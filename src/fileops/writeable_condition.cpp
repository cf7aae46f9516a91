// "File is writeable": the permission test, then an open for reading and writing that shares
// the file with nobody, both on the name exactly as the host passed it, however long.
#include <io.h>

#include "fileops/name_tests.h"
#include "state/host_services.h"

namespace {

constexpr int ACCESS_WRITE = 2;
constexpr DWORD READ_AND_WRITE = GENERIC_READ | GENERIC_WRITE;
constexpr DWORD SHARED_WITH_NOBODY = 0;

}  // namespace

// Nothing is read or written; the open never creates a file and never opens a directory.
extern "C" HostWord WINAPI ConditionFileIsWriteable(RunData*, HostWord name, HostWord) {
    const char* text = TextParameter(name);
    if (!text || !text[0]) return 0;
    if (_access(text, ACCESS_WRITE) != 0) return 0;
    HANDLE file = CreateFileA(text, READ_AND_WRITE, SHARED_WITH_NOBODY, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    CloseHandle(file);
    return 1;
}
