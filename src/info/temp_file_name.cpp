// "TempFileName$(": creates a new empty file in the system's temporary directory and answers
// its full path. The object never deletes the file it answers.
#include <cstring>

#include "host/host_services.h"
#include "info/path_names.h"

namespace {

constexpr char DEFAULT_PREFIX[] = "File";   // when the host gives no prefix at all
constexpr UINT NEW_UNIQUE_NAME = 0;         // the platform picks a free name and creates the file
// What the platform adds to the folder: up to three characters of prefix, four hexadecimal
// digits and ".tmp". A longer folder is refused: the name would not fit the 260-byte result.
constexpr std::size_t LONGEST_FOLDER = PATH_BUFFER_SIZE - 14;

// The temporary folder, when the platform gives one short enough to hold a new name. Given a
// longer one, or none (an empty folder would put the file in the current directory), the
// platform is not asked to make a file at all.
bool TemporaryFolder(char* folder) {
    const DWORD length = GetTempPathA(PATH_BUFFER_SIZE, folder);
    return length != 0 && length <= LONGEST_FOLDER;
}

// A name the platform wrote without a terminator inside the result is no name: the answer is
// then the empty string, never a text the host would read past the block.
void KeepOnlyWholeName(char* result) {
    if (std::memchr(result, '\0', PATH_BUFFER_SIZE)) return;
    result[PATH_BUFFER_SIZE - 1] = '\0';
    result[0] = '\0';
}

}  // namespace

extern "C" HostWord WINAPI ExpressionTempFileName(RunData* rd, HostWord token) {
    char* result = EmptyResult(rd, PATH_BUFFER_SIZE);
    if (!result) return StringResult(rd, nullptr);   // the prefix is then not fetched
    const char* parameter = GetStringParameter(rd, token);
    const char* prefix = parameter ? parameter : DEFAULT_PREFIX;
    auto* folder = static_cast<char*>(LocalAlloc(LPTR, PATH_BUFFER_SIZE));
    if (!folder) return StringResult(rd, result);
    if (TemporaryFolder(folder)) GetTempFileNameA(folder, prefix, NEW_UNIQUE_NAME, result);
    KeepOnlyWholeName(result);
    LocalFree(folder);
    return StringResult(rd, result);
}
