// "TempFileName$(": creates a new empty file in the system's temporary directory and answers
// its full path. The object never deletes the file it answers.
#include <cstring>

#include "fileops/file_names.h"
#include "info/temp_file_name.h"
#include "state/host_services.h"
#include "state/windows_errors.h"

namespace {

constexpr char DEFAULT_PREFIX[] = "File";   // when the host gives no prefix at all
constexpr UINT NAME_NUMBERS = 0xFFFF;       // the numbers of a name: 1 to FFFF, in hexadecimal
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

// True when the platform named a file of the folder itself: a name ended within the result (the
// host would read past one that is not), whose folder is the temporary folder. A prefix such as
// ..\ or a\ would lead elsewhere.
bool NamesFileIn(const char* result, const char* folder) {
    if (!std::memchr(result, '\0', PATH_BUFFER_SIZE)) return false;
    const std::size_t length = std::strlen(folder);
    return FolderLength(result) == length && std::strncmp(result, folder, length) == 0;
}

// The platform names the file (GetTempFileNameA, given a number, makes none), this call makes it
// (CREATE_NEW), trying the numbers in turn: so only a new, empty file this call made is answered,
// never one that another program has, however full the folder. A name no file may have fails. A
// name is first looked up, which costs far less than a refused creation when the folder is full.
bool MakeTempFile(const char* folder, const char* prefix, char* result) {
    const UINT first = GetTickCount() % NAME_NUMBERS;
    for (UINT tried = 0; tried < NAME_NUMBERS; ++tried) {
        const UINT number = (first + tried) % NAME_NUMBERS + 1;
        if (GetTempFileNameA(folder, prefix, number, result) == 0 || !NamesFileIn(result, folder)) return false;
        if (GetFileAttributesA(result) != INVALID_FILE_ATTRIBUTES) continue;   // taken: asked cheaply first
        HANDLE made = CreateFileA(result, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (made != INVALID_HANDLE_VALUE) return CloseHandle(made) != 0;
        if (!IsTaken(GetLastError())) return false;
    }
    return false;
}

// A new file in the temporary folder, its name in result, or the empty string; the folder is a
// scratch block.
void WriteTempFileName(const char* prefix, char* result) {
    auto* folder = static_cast<char*>(LocalAlloc(LPTR, PATH_BUFFER_SIZE));
    if (!folder) return;
    if (!TemporaryFolder(folder) || !MakeTempFile(folder, prefix, result)) {
        result[PATH_BUFFER_SIZE - 1] = '\0';
        result[0] = '\0';
    }
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
