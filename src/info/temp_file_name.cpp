// "TempFileName$(": creates a new empty file in the system's temporary directory and answers
// its full path. The object never deletes the file.
#include "host/host_services.h"
#include "info/path_names.h"

namespace {

constexpr char DEFAULT_PREFIX[] = "File";   // when the host gives no prefix at all
constexpr UINT NEW_UNIQUE_NAME = 0;         // the platform picks a free name and creates the file

}  // namespace

extern "C" HostWord WINAPI ExpressionTempFileName(RunData* rd, HostWord token) {
    char* result = EmptyResult(rd, PATH_BUFFER_SIZE);
    if (!result) return StringResult(rd, nullptr);   // the prefix is then not fetched
    const char* parameter = GetStringParameter(rd, token);
    const char* prefix = parameter ? parameter : DEFAULT_PREFIX;
    auto* directory = static_cast<char*>(LocalAlloc(LPTR, PATH_BUFFER_SIZE));
    if (!directory) return StringResult(rd, result);
    GetTempPathA(PATH_BUFFER_SIZE, directory);
    GetTempFileNameA(directory, prefix, NEW_UNIQUE_NAME, result);
    LocalFree(directory);
    return StringResult(rd, result);
}
