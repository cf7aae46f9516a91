// The well-known directories when the shell has no answer, checked with a shell lookup of the
// test's own in place of the module's (its answers, taken as they come in either family, are
// checked by the help's claims and path_names.qtxs), and the info expressions on a record whose
// creation failed. Runs as info_test-win98.exe (other family) and info_test-win2k.exe (NT
// family): the copy's name says which family it should see.
#include <windows.h>
#include <shlobj.h>
#include <cstring>
#include <map>
#include <span>
#include <string>

#include "catalogue/catalogue.h"
#include "harness/ok.h"
#include "harness/test_host.h"
#include "info/known_directories.h"
#include "state/run_data.h"

namespace {

// ---- the shell lookup the module calls here --------------------------------------------
std::map<int, std::string> shellAnswers;   // folder id: path; a missing id finds nothing

}  // namespace

int GetShellFolderPath(char* buffer, int folder) {
    const auto found = shellAnswers.find(folder);
    if (found == shellAnswers.end()) return 0;
    CopyPath(buffer, found->second.c_str());
    return 1;
}

namespace {

std::string Text(RunData* rd, int code, const char* text = nullptr) {
    return harness::StringResult(rd, ExpressionRoutines[code], reinterpret_cast<HostWord>(text));
}

// ---- expectations ------------------------------------------------------------------------
enum DirectoryCode { MY_DOCS = 27, APP_DATA = 28, USER = 29, ALL_USERS = 30, ALL_DOCS = 31, ALL_APP_DATA = 32 };
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
        std::printf("double-byte names skipped: the ANSI code page is %u, not 932\n", GetACP());
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

// A record whose workPath could not be had: the expressions that need it answer their failure
// values and write nothing; the others go on as usual.
void test_record_without_workPath() {
    RunData* rd = harness::NewObject();
    rd->workPath = nullptr;
    harness::host->parameter = reinterpret_cast<HostWord>("info_test.exe");
    rd->header.hostFlags = 0;
    ok(static_cast<std::int32_t>(ExpressionRoutines[0](rd, 0)) == -1 && !(rd->header.hostFlags & STRING_RESULT),
       "Sizeof( without workPath should answer the integer -1\n");
    for (int code : {1, 2, 3, 4, 5, 6, 7, 8, 9})
        ok(Text(rd, code, "info_test.exe").empty(), "expression %d without workPath should answer \"\"\n", code);
    ok(Text(rd, 14) == windowsDirectory, "WindowsDirectory$( does not need workPath\n");
    const std::string temporary = Text(rd, 13, "qtx");
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
    test_record_without_workPath();
    return harness::Summary(ntFamily ? "info_test (NT family)" : "info_test (other family)");
}
