// "TempFileName$(": creates a new empty file in the system's temporary directory and answers
// its full path. The object never deletes the file it answers.
#include <cstring>

#include "info/temp_file_name.h"
#include "state/host_services.h"

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

// A new file in the temporary folder, its name in result; the folder is a scratch block.
void WriteTempFileName(const char* prefix, char* result) {
    auto* folder = static_cast<char*>(LocalAlloc(LPTR, PATH_BUFFER_SIZE));
    if (!folder) return;
    if (TemporaryFolder(folder)) GetTempFileNameA(folder, prefix, NEW_UNIQUE_NAME, result);
    KeepOnlyWholeName(result);
    LocalFree(folder);
}

}  // namespace

// The prefix is fetched only when the host gives a result block.
extern "C" HostWord WINAPI ExpressionTempFileName(RunData* rd, HostWord token) {
    return FillStringResult(rd, PATH_BUFFER_SIZE, [rd, token](char* result) {
        const char* parameter = GetStringParameter(rd, token);
        WriteTempFileName(parameter ? parameter : DEFAULT_PREFIX, result);
    });
}
