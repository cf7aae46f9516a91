// The well-known directories when the shell has no answer, checked with a shell lookup of the
// test's own in place of the module's (its answers, taken as they come in either family, are
// checked by the help's claims and path_names.qtxs), the dates the runtime cannot hold, and the
// info expressions on a record whose creation failed. Runs as info_test-win98.exe (other family)
// and info_test-win2k.exe (NT family): the copy's name says which family it should see.
#include <windows.h>
#include <shlobj.h>
#include <cstring>
#include <map>
#include <span>
#include <string>

#include "catalogue/descriptors.h"
#include "catalogue/entry_codes.h"
#include "catalogue/routine_tables.h"
#include "harness/ok.h"
#include "harness/test_host.h"
#include "info/file_status.h"
#include "info/known_directories.h"
#include "info/shell_folder_path.h"
#include "state/path_names.h"
#include "state/run_data.h"

namespace {

// ---- the shell lookup the module calls here --------------------------------------------
std::map<int, std::string> shellAnswers;   // folder id: path; a missing id finds nothing

}  // namespace

bool GetShellFolderPath(char* buffer, int folder) {
    const auto found = shellAnswers.find(folder);
    if (found == shellAnswers.end()) return false;
    CopyPath(buffer, found->second.c_str());
    return true;
}

namespace {

std::string Text(RunData* rd, int code, const char* text = nullptr) {
    return harness::StringResult(rd, ExpressionRoutines[code], reinterpret_cast<HostWord>(text));
}

// ---- expectations ------------------------------------------------------------------------
constexpr int MY_DOCS = EXPRESSION_MY_DOCS_DIRECTORY, APP_DATA = EXPRESSION_APP_DATA_DIRECTORY;
constexpr int USER = EXPRESSION_USER_DIRECTORY, ALL_USERS = EXPRESSION_ALL_USERS_DIRECTORY;
constexpr int ALL_DOCS = EXPRESSION_ALL_USERS_DOCUMENTS_DIRECTORY, ALL_APP_DATA = EXPRESSION_ALL_USERS_APP_DATA_DIRECTORY;
constexpr int DIRECTORY_CODES[] = {MY_DOCS, APP_DATA, USER, ALL_USERS, ALL_DOCS, ALL_APP_DATA};
constexpr int DIRECTORY_COUNT = 6;

std::string windowsDirectory;   // as the platform gives it, without a trailing '\'
bool ntFamily = false;

// "W\" stands for the Windows directory with its backslash.
std::string Expand(const std::string& expected) {
    if (expected.rfind("W\\", 0) == 0) return windowsDirectory + expected.substr(1);
    if (expected == "W") return windowsDirectory;
    return expected;
}

struct ShellCase {
    const char* name;
    std::map<int, std::string> answers;
    std::string nt[DIRECTORY_COUNT];      // codes 27 to 32 on the NT family
    std::string other[DIRECTORY_COUNT];   // and on the other family
};

const std::string ANNA_APPDATA = "C:\\Documents and Settings\\Anna\\Application Data";
const std::string SHARED = "C:\\Documents and Settings\\All Users";

const ShellCase SHELL_CASES[] = {
    {"no folder answered",
     {},
     {"", "", "c:\\", "W\\Profiles\\All Users", "W\\Profiles\\All Users\\Documents",
      "W\\Profiles\\All Users\\Application Data"},
     {"", "W\\Application Data", "W", "W\\All Users", "W\\All Users\\Documents", "W\\All Users\\Application Data"}},
    {"application data alone",
     {{CSIDL_APPDATA, ANNA_APPDATA}},
     {"", ANNA_APPDATA, "C:\\Documents and Settings\\Anna", SHARED, SHARED + "\\Documents", SHARED + "\\Application Data"},
     {"", ANNA_APPDATA, "W", "W\\All Users", "W\\All Users\\Documents", "W\\All Users\\Application Data"}},
    {"application data with a single backslash",
     {{CSIDL_APPDATA, "C:\\AppData"}},
     {"", "C:\\AppData", "C:", "W\\Profiles\\All Users", "W\\Profiles\\All Users\\Documents",
      "W\\Profiles\\All Users\\Application Data"},
     {"", "C:\\AppData", "W", "W\\All Users", "W\\All Users\\Documents", "W\\All Users\\Application Data"}},
};

void test_shell_cases() {
    RunData* rd = harness::NewObject();
    for (const ShellCase& c : SHELL_CASES) {
        shellAnswers = c.answers;
        for (int i = 0; i < DIRECTORY_COUNT; ++i) {
            const std::string expected = Expand(ntFamily ? c.nt[i] : c.other[i]);
            const std::string got = Text(rd, DIRECTORY_CODES[i]);
            ok(got == expected, "%s, code %d: expected \"%s\", got \"%s\"\n", c.name, DIRECTORY_CODES[i],
               expected.c_str(), got.c_str());
        }
    }
}

// One folder the shell answers, one directory expression, and what it gives on each family.
struct LookupRow {
    const char* name;
    int folder;
    std::string answer;
    int code;
    std::string nt, other;
};

void CheckLookups(std::span<const LookupRow> rows) {
    RunData* rd = harness::NewObject();
    for (const LookupRow& row : rows) {
        shellAnswers = {{row.folder, row.answer}};
        const std::string expected = Expand(ntFamily ? row.nt : row.other);
        const std::string got = Text(rd, row.code);
        ok(got == expected, "%s: expected \"%s\", got \"%s\"\n", row.name, expected.c_str(), got.c_str());
    }
}

// "AllUsersDirectory$(" is the parent of the shared documents, which come back as the shell gave
// them; a drive root keeps its '\'. A composition longer than the buffer is cut to 259
// characters, never written past it.
void test_one_folder_answered() {
    const std::string longParent = "C:\\" + std::string(230, 'p');
    const LookupRow rows[] = {
        {"shared documents in a folder", CSIDL_COMMON_DOCUMENTS, SHARED + "\\Documents", ALL_USERS, SHARED, SHARED},
        {"shared documents as given", CSIDL_COMMON_DOCUMENTS, SHARED + "\\Documents", ALL_DOCS,
         SHARED + "\\Documents", SHARED + "\\Documents"},
        {"shared documents in a root folder", CSIDL_COMMON_DOCUMENTS, "D:\\Shared", ALL_USERS, "D:\\", "D:\\"},
        {"shared documents at a root", CSIDL_COMMON_DOCUMENTS, "D:\\", ALL_USERS, "D:\\", "D:\\"},
        {"shared documents, no separator", CSIDL_COMMON_DOCUMENTS, "Shared", ALL_USERS, "c:\\", "c:\\"},
        {"shared documents, no drive", CSIDL_COMMON_DOCUMENTS, "\\Shared", ALL_USERS, "", ""},
        {"long shared sibling", CSIDL_APPDATA, longParent + "\\u\\Application Data", ALL_APP_DATA,
         (longParent + "\\All Users\\Application Data").substr(0, 259), "W\\All Users\\Application Data"},
    };
    CheckLookups(rows);
}

void test_AddTrailingBackslash() {
    const struct {
        std::string before, after;
    } rows[] = {
        {"", ""},
        {"C:", "C:\\"},
        {"C:\\", "C:\\"},
        {"C:\\WINDOWS", "C:\\WINDOWS\\"},
        {std::string(258, 'x'), std::string(258, 'x') + "\\"},
        {std::string(259, 'x'), std::string(259, 'x')},
    };
    for (const auto& row : rows) {
        auto* buffer = static_cast<char*>(GuardedAlloc(PATH_BUFFER_SIZE));
        CopyPath(buffer, row.before.c_str());
        AddTrailingBackslash(buffer);
        ok(buffer == row.after, "AddTrailingBackslash(%zu characters): expected %zu, got %zu\n", row.before.size(),
           row.after.size(), std::strlen(buffer));
    }
}

// In code page 932 the second byte of 表 (95 5C) is a backslash, which no search for a separator
// may take for one. These rows run where 932 is the ANSI code page (the test cp932_names).
void test_double_byte_names() {
    constexpr UINT JAPANESE = 932;
    if (GetACP() != JAPANESE) {
        skip("double-byte names: the ANSI code page is %u, not 932\n", GetACP());
        return;
    }
    const std::string table = "\x95\x5c";   // 表
    const LookupRow rows[] = {
        {"shared documents on a drive", CSIDL_COMMON_DOCUMENTS, "D:\\" + table, ALL_USERS, "D:\\", "D:\\"},
        {"shared documents in a folder", CSIDL_COMMON_DOCUMENTS, "C:\\Docs\\" + table, ALL_USERS, "C:\\Docs", "C:\\Docs"},
        {"shared documents, no separator", CSIDL_COMMON_DOCUMENTS, table, ALL_USERS, "c:\\", "c:\\"},
        {"profile parent", CSIDL_APPDATA, "C:\\Users\\" + table, USER, "C:\\Users", "W"},
        {"shared sibling", CSIDL_APPDATA, "C:\\Users\\" + table + "\\AppData", ALL_USERS, "C:\\Users\\All Users",
         "W\\All Users"},
    };
    CheckLookups(rows);
    char path[PATH_BUFFER_SIZE];
    CopyPath(path, ("C:\\" + table).c_str());
    AddTrailingBackslash(path);
    ok(path == "C:\\" + table + "\\", "AddTrailingBackslash(C:\\%s): got \"%s\"\n", table.c_str(), path);
}

// Dates of every range: before 1970, the runtime's own, past 2038 (the narrow runtime's end),
// past 2106 (the wide one's), past 9999. Each is set at noon, local time, on a file in a tmpfs
// where there is one (Z:\dev\shm takes 1601 and 30000; ext4 keeps 1901 to 2446); a date the
// file system does not keep is skipped, and says so.
struct DateRow {
    WORD year, month, day;
    const char* expected;    // the date expressions' answer
};

constexpr DateRow DATE_ROWS[] = {
    {1601, 1, 5, "05/01/01"}, {1969, 12, 31, "31/12/69"}, {1980, 2, 29, "29/02/80"},
    {2038, 1, 20, "20/01/38"}, {2107, 3, 4, "04/03/07"},  {30000, 3, 4, "04/03/00"},
};

constexpr char TMPFS_FOLDER[] = "Z:\\dev\\shm";

// Sets the file's modification and access times to noon of the row's day; false when the file
// system keeps another time.
bool SetNoon(const std::string& path, const DateRow& row) {
    SYSTEMTIME local{}, universal{};
    local.wYear = row.year, local.wMonth = row.month, local.wDay = row.day, local.wHour = 12;
    FILETIME time{}, kept{};
    if (!TzSpecificLocalTimeToSystemTime(nullptr, &local, &universal) || !SystemTimeToFileTime(&universal, &time))
        return false;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | FILE_WRITE_ATTRIBUTES, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    const bool set = SetFileTime(file, nullptr, &time, &time) && GetFileTime(file, nullptr, nullptr, &kept);
    CloseHandle(file);
    return set && CompareFileTime(&time, &kept) == 0;
}

void test_dates() {
    const std::string folder = (GetFileAttributesA(TMPFS_FOLDER) != INVALID_FILE_ATTRIBUTES ? std::string(TMPFS_FOLDER) : ".") +
                               "\\qtx-dates-" + std::to_string(GetCurrentProcessId());
    const std::string path = folder + "\\dated.txt";
    CreateDirectoryA(folder.c_str(), nullptr);
    RunData* rd = harness::NewObject();
    for (const DateRow& row : DATE_ROWS) {
        if (!SetNoon(path, row)) {
            skip("date %u-%02u-%02u: the file system in %s keeps another time\n", row.year, row.month,
                        row.day, folder.c_str());
            continue;
        }
        for (int code : {EXPRESSION_CHANGE_DATE, EXPRESSION_ACCESS_DATE}) {
            const std::string got = Text(rd, code, path.c_str());
            ok(got == row.expected, "%u, expression %d: expected \"%s\", got \"%s\"\n", row.year, code, row.expected,
               got.c_str());
        }
        LocalDate date{};   // where the runtime has no _stat64 (Windows 9x, NT 4.0)
        ok(ReadFileDate(path.c_str(), FileTime::MODIFIED, RuntimeWidth::NARROW, date) && date.year == row.year &&
               date.month == row.month && date.day == row.day,
           "%u through _stat: got %u-%02u-%02u\n", row.year, date.year, date.month, date.day);
    }
    DeleteFileA(path.c_str());
    RemoveDirectoryA(folder.c_str());
}

// A record whose workPath could not be had: the expressions that need it answer their failure
// values and write nothing; the others go on as usual.
void test_record_without_workPath() {
    RunData* rd = harness::NewObject();
    rd->workPath = nullptr;
    harness::host->parameter = reinterpret_cast<HostWord>("info_test.exe");
    rd->header.hostFlags = 0;
    ok(static_cast<std::int32_t>(ExpressionRoutines[EXPRESSION_SIZEOF](rd, 0)) == -1 && !(rd->header.hostFlags & STRING_RESULT),
       "Sizeof( without workPath should answer the integer -1\n");
    for (int code : {1, 2, 3, 4, 5, 6, 7, 8, 9})
        ok(Text(rd, code, "info_test.exe").empty(), "expression %d without workPath should answer \"\"\n", code);
    ok(Text(rd, EXPRESSION_WINDOWS_DIRECTORY) == windowsDirectory, "WindowsDirectory$( does not need workPath\n");
    const std::string temporary = Text(rd, EXPRESSION_TEMP_FILE_NAME, "qtx");
    ok(!temporary.empty() && GetFileAttributesA(temporary.c_str()) != INVALID_FILE_ATTRIBUTES,
       "TempFileName$( does not need workPath, got \"%s\"\n", temporary.c_str());
    DeleteFileA(temporary.c_str());
}

}  // namespace

int main() {
    char directory[PATH_BUFFER_SIZE] = "";
    GetModuleFileNameA(nullptr, directory, sizeof directory);
    ntFamily = std::strstr(directory, "-win2k") != nullptr;
    harness::StartTestHost();
    GetWindowsDirectoryA(directory, sizeof directory);
    windowsDirectory = directory;
    ok(IsNtPlatform() == ntFamily, "IsNtPlatform: expected %d, got %d\n", ntFamily, IsNtPlatform());

    test_shell_cases();
    test_one_folder_answered();
    test_AddTrailingBackslash();
    test_double_byte_names();
    test_dates();
    test_record_without_workPath();
    return harness::Summary(ntFamily ? "info_test (NT family)" : "info_test (other family)");
}
