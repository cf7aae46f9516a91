// "VersionMS(" and "VersionLS(": the file version from the file's own version resource.
// The name goes to the platform whole, without CopyPath. A name that is no file on disk (a
// device, a pipe, a FIFO) answers 0 before anything is read from it.
#include "fileops/disk_file.h"
#include "info/file_information.h"
#include "state/host_services.h"

namespace {

constexpr int VERSION_FOUND = 0;
constexpr int VERSION_FAILURE = -1;
constexpr HostWord NO_VERSION = 0;
constexpr char ROOT_BLOCK[] = "\\";
// A root record long enough for the two words read; the rest of the fixed record is not needed.
constexpr UINT VERSION_WORDS_END = offsetof(VS_FIXEDFILEINFO, dwFileVersionLS) + sizeof(DWORD);
static_assert(VERSION_WORDS_END == 16);

// Finds the fixed version record in a version block read whole.
int ReadFixedVersion(void* block, DWORD* mostSignificant, DWORD* leastSignificant) {
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block, ROOT_BLOCK, reinterpret_cast<void**>(&fixed), &length)) return VERSION_FAILURE;
    if (!fixed || length < VERSION_WORDS_END) return VERSION_FAILURE;   // none, or too short for the words
    *mostSignificant = fixed->dwFileVersionMS;
    *leastSignificant = fixed->dwFileVersionLS;
    return VERSION_FOUND;
}

}  // namespace

int GetFileVersionWords(RunData* rd, HostWord token, DWORD* mostSignificant, DWORD* leastSignificant) {
    const char* parameter = GetStringParameter(rd, token);
    const char* name = parameter ? parameter : "";
    if (TargetOf(name) != NameTarget::DISK_FILE) return VERSION_FAILURE;   // a pipe's read can wait for ever
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(name, &handle);
    if (size == 0) return VERSION_FAILURE;   // no version information
    void* block = GlobalAlloc(GPTR, size);
    if (!block) return VERSION_FAILURE;
    if (GetFileVersionInfoA(name, handle, size, block) != 1) {
        GlobalFree(block);
        return VERSION_FAILURE;
    }
    const int status = ReadFixedVersion(block, mostSignificant, leastSignificant);
    GlobalFree(block);
    return status;
}

extern "C" HostWord WINAPI ExpressionVersionMS(RunData* rd, HostWord token) {
    DWORD mostSignificant = 0, leastSignificant = 0;
    if (GetFileVersionWords(rd, token, &mostSignificant, &leastSignificant) != VERSION_FOUND) return NO_VERSION;
    return static_cast<std::int32_t>(mostSignificant);
}

extern "C" HostWord WINAPI ExpressionVersionLS(RunData* rd, HostWord token) {
    DWORD mostSignificant = 0, leastSignificant = 0;
    if (GetFileVersionWords(rd, token, &mostSignificant, &leastSignificant) != VERSION_FOUND) return NO_VERSION;
    return static_cast<std::int32_t>(leastSignificant);
}
