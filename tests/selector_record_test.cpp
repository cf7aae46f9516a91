// Record-level checks of the load and save selectors: the dialog record PrepareFileSelector
// fills, and the result expressions walking hand-made result buffers that end at a guard page.
// Copies of this program named selector_record_test-VERSION.exe run as that Windows version.
#include <windows.h>
#include <cstring>
#include <string>

#include "harness/ok.h"
#include "harness/test_host.h"
#include "selector/file_selector.h"
#include "selector/selector_results.h"
#include "selector/selector_settings.h"

using harness::StringResult;

namespace {

struct WindowsVersion {
    const char* suffix;              // of the program's name
    DWORD platform, major, minor;    // what GetVersionExA must report under that name
    bool sizable;                    // whether the dialogs get OFN_ENABLESIZING
};

constexpr WindowsVersion VERSIONS[] = {
    {"-win95", VER_PLATFORM_WIN32_WINDOWS, 4, 0, false},
    {"-win98", VER_PLATFORM_WIN32_WINDOWS, 4, 10, true},
    {"-winme", VER_PLATFORM_WIN32_WINDOWS, 4, 90, true},
    {"-nt40", VER_PLATFORM_WIN32_NT, 4, 0, false},
    {"-win2k", VER_PLATFORM_WIN32_NT, 5, 0, true},
};

// The version this copy runs as, or null for the prefix's own (a current Windows).
const WindowsVersion* RunningVersion() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    for (const WindowsVersion& version : VERSIONS)
        if (std::strstr(path, version.suffix)) return &version;
    return nullptr;
}

struct StyleRow {
    int kind;
    std::uint32_t style;
    DWORD flags;                     // without OFN_ENABLESIZING and OFN_ENABLEHOOK
};

constexpr StyleRow STYLE_ROWS[] = {
    {LOAD_SELECTOR, 0, 0x8180C},  {LOAD_SELECTOR, 1, 0x8380C},  {LOAD_SELECTOR, 2, 0x8080C},
    {LOAD_SELECTOR, 4, 0x81804},  {LOAD_SELECTOR, 8, 0xA180C},  {LOAD_SELECTOR, 16, 0x8180C},
    {LOAD_SELECTOR, 32, 0x8100C}, {LOAD_SELECTOR, 64, 0x8180C}, {LOAD_SELECTOR, 63, 0xA2004},
    {SAVE_SELECTOR, 0, 0x8080E},  {SAVE_SELECTOR, 1, 0x8280E},  {SAVE_SELECTOR, 2, 0x8080E},
    {SAVE_SELECTOR, 4, 0x80806},  {SAVE_SELECTOR, 8, 0xA080E},  {SAVE_SELECTOR, 16, 0x8080C},
    {SAVE_SELECTOR, 32, 0x8000E}, {SAVE_SELECTOR, 64, 0x8080E}, {SAVE_SELECTOR, 63, 0xA2004},
};

void test_platform_version(const WindowsVersion* expected) {
    if (!expected) return;
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    ok(GetVersionExA(&info) && info.dwPlatformId == expected->platform && info.dwMajorVersion == expected->major &&
           info.dwMinorVersion == expected->minor,
       "the prefix should report %lu %lu.%lu for %s, got %lu %lu.%lu\n", expected->platform, expected->major,
       expected->minor, expected->suffix, info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
}

void test_style_flags(bool sizable) {
    const DWORD extra = (sizable ? OFN_ENABLESIZING : 0) | OFN_ENABLEHOOK;
    for (const StyleRow& row : STYLE_ROWS) {
        RunData* rd = harness::NewObject();
        rd->selectorStyle = row.style;
        FileSelectorDialog dialog;
        ok(PrepareFileSelector(rd, &dialog, nullptr, row.kind) == 1, "PrepareFileSelector should answer 1\n");
        ok(dialog.record.Flags == (row.flags | extra), "kind %d style %u: expected flags 0x%lX, got 0x%lX\n", row.kind,
           row.style, row.flags | extra, dialog.record.Flags);
        harness::DeleteObject(rd);
    }
}

void test_record_fields() {
    RunData* rd = harness::NewObject();
    FileSelectorDialog dialog;
    const std::string longPath(300, 'p');
    PrepareFileSelector(rd, &dialog, longPath.c_str(), LOAD_SELECTOR);
    const OPENFILENAMEA& record = dialog.record;
    ok(record.lpstrFile == rd->selectorBuffer && std::strlen(rd->selectorBuffer) == 259,
       "the initial path should be cut to 259 characters in the result buffer\n");
    ok(record.nMaxFile == 259 && rd->selectorBufferSize == 260, "nMaxFile: got %lu\n", record.nMaxFile);
    ok(record.lpstrInitialDir == nullptr, "no initial directory: the dialog starts where the name says\n");
    ok(record.lpstrFileTitle == dialog.fileTitle && record.nMaxFileTitle == 260, "the file-title scratch buffer\n");

    ActionSetExtensionFilter(rd, reinterpret_cast<HostWord>("Text|*.txt"), -3);
    PrepareFileSelector(rd, &dialog, nullptr, SAVE_SELECTOR);
    ok(rd->selectorBuffer[0] == '\0' && record.nFilterIndex == static_cast<DWORD>(-3),
       "no initial path gives an empty name; the index goes as stored\n");
    ok(FileSelectorHook(nullptr, WM_INITDIALOG, 0, 0) == 1 && FileSelectorHook(nullptr, WM_COMMAND, 0, 0) == 0,
       "the hook answers 1 to WM_INITDIALOG only\n");

    // The host's bit forbids the hook (selector_dialogs.qtxs); the other bits of its byte do not.
    std::uint8_t& hostFlags = harness::host->appHeader[harness::NO_HOOK_FLAG_BYTE];
    hostFlags = static_cast<std::uint8_t>(~harness::NO_HOOK_FLAG_BIT);
    PrepareFileSelector(rd, &dialog, nullptr, LOAD_SELECTOR);
    ok((dialog.record.Flags & OFN_ENABLEHOOK) && dialog.record.lpfnHook == FileSelectorHook,
       "host byte 0x%02X: expected the hook, got flags 0x%lX\n", hostFlags, dialog.record.Flags);
    hostFlags = 0;
    harness::DeleteObject(rd);
}

// A result buffer of exactly the given bytes, followed by a guard page.
struct ResultRow {
    const char* note;
    const char* bytes;
    std::uint32_t size;
    std::uint32_t multiSelect;
    HostWord count;
    const char* first;               // FileSelReturn$( and FileSelReturnAt$( 0
    const char* second;              // FileSelReturnAt$( 1
};

constexpr char LIST[] = "C:\\Data\0a.txt\0b.txt\0";
constexpr char CUT[] = "C:\\Data\0a.txt\0b.txt";
constexpr char SINGLE[] = "C:\\a.txt\0junk";

const ResultRow RESULT_ROWS[] = {
    {"list", LIST, sizeof LIST, 1, 2, "C:\\Data\\a.txt", "C:\\Data\\b.txt"},
    {"list cut inside its last name", CUT, sizeof CUT - 1, 1, 1, "C:\\Data", ""},
    {"list with no terminator at all", CUT, 7, 1, 0, "", ""},
    {"single path with no terminator", SINGLE, 8, 0, 0, "", ""},
    {"single path", SINGLE, sizeof SINGLE - 1, 0, 1, "C:\\a.txt", "C:\\a.txt"},
    {"capacity 0", SINGLE, 0, 0, 0, "", ""},
    {"capacity 0 in a list", LIST, 0, 1, 0, "", ""},
};

void test_result_walks() {
    for (const ResultRow& row : RESULT_ROWS) {
        RunData* rd = harness::NewObject();
        char* guarded = static_cast<char*>(GuardedAlloc(row.size ? row.size : 1));
        std::memcpy(guarded, row.bytes, row.size);
        rd->selectorBuffer = guarded;
        rd->selectorBufferSize = row.size;
        rd->multiSelect = row.multiSelect;
        ok(ExpressionNumSelFiles(rd, 1) == row.count, "%s: expected %ld files, got %ld\n", row.note,
           static_cast<long>(row.count), static_cast<long>(ExpressionNumSelFiles(rd, 1)));
        const char* got = StringResult(rd, ExpressionFileSelReturn);
        ok(!std::strcmp(got, row.first), "%s, FileSelReturn$(: expected \"%s\", got \"%s\"\n", row.note, row.first, got);
        // A single result answers any index with its path, which needs no host string; a list has
        // nothing at -1 or 2^31-1, and no joined entry when the host gives no strings.
        const char* const beyond = row.multiSelect ? "" : row.first;
        const struct { const char* what; HostWord index; bool hostStrings; const char* expected; } entries[] = {
            {"entry 0", 0, true, row.first}, {"entry 1", 1, true, row.second}, {"entry -1", -1, true, beyond},
            {"entry 2^31-1", 0x7FFFFFFF, true, beyond}, {"entry 1 without host strings", 1, false, beyond}};
        for (const auto& entry : entries) {
            harness::host->tempStrings = entry.hostStrings;
            got = StringResult(rd, ExpressionFileSelReturnAt, entry.index);
            ok(!std::strcmp(got, entry.expected), "%s, %s: expected \"%s\", got \"%s\"\n", row.note, entry.what,
               entry.expected, got);
        }
        harness::host->tempStrings = true;
        rd->selectorBuffer = nullptr;
        GuardedFree(guarded);
        harness::DeleteObject(rd);
    }
}

}  // namespace

int main() {
    harness::StartTestHost();
    const WindowsVersion* version = RunningVersion();
    test_platform_version(version);
    test_style_flags(version ? version->sizable : true);
    test_record_fields();
    test_result_walks();
    return harness::Summary(version ? version->suffix + 1 : "selector_record_test");
}
