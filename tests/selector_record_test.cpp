// Record-level checks of the load and save selectors: the dialog record PrepareFileSelector
// fills, the wide dialogs taken on the NT family only, the names spelt from a wide choice, the
// answers taken from a dialog's scratch block, the result expressions walking hand-made result buffers that end at a guard page, and
// the saved state on real files and a pipe: a read cut short, and LoadRunObject fed 10 000
// generated blocks (fixed seed), none costing more memory than its file holds, however large its
// size field. Copies of this program named selector_record_test-VERSION.exe run as that Windows
// version; the saved state, which no version changes, is checked by the program itself alone.
#include <windows.h>
#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "harness/ok.h"
#include "harness/test_host.h"
#include "selector/chosen_names.h"
#include "selector/file_selector.h"
#include "selector/selection_scratch.h"
#include "selector/selector_buffer.h"
#include "selector/selector_results.h"
#include "selector/selector_settings.h"
#include "selector/wide_routines.h"
#include "state/saved_state.h"

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
    SelectorKind kind;
    std::uint32_t style;
    DWORD flags;                     // without OFN_ENABLESIZING and OFN_ENABLEHOOK
};

constexpr StyleRow STYLE_ROWS[] = {
    {SelectorKind::LOAD, 0, 0x8180C},  {SelectorKind::LOAD, 1, 0x8380C},  {SelectorKind::LOAD, 2, 0x8080C},
    {SelectorKind::LOAD, 4, 0x81804},  {SelectorKind::LOAD, 8, 0xA180C},  {SelectorKind::LOAD, 16, 0x8180C},
    {SelectorKind::LOAD, 32, 0x8100C}, {SelectorKind::LOAD, 64, 0x8180C}, {SelectorKind::LOAD, 63, 0xA2004},
    {SelectorKind::SAVE, 0, 0x8080E},  {SelectorKind::SAVE, 1, 0x8280E},  {SelectorKind::SAVE, 2, 0x8080E},
    {SelectorKind::SAVE, 4, 0x80806},  {SelectorKind::SAVE, 8, 0xA080E},  {SelectorKind::SAVE, 16, 0x8080C},
    {SelectorKind::SAVE, 32, 0x8000E}, {SelectorKind::SAVE, 64, 0x8080E}, {SelectorKind::SAVE, 63, 0xA2004},
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
        ok(PrepareFileSelector(rd, &dialog, nullptr, row.kind), "PrepareFileSelector should answer true\n");
        ok(dialog.record.Flags == (row.flags | extra), "kind %d style %u: expected flags 0x%lX, got 0x%lX\n", static_cast<int>(row.kind),
           row.style, row.flags | extra, dialog.record.Flags);
        harness::DeleteObject(rd);
    }
}

void test_record_fields() {
    RunData* rd = harness::NewObject();
    FileSelectorDialog dialog;
    const std::string longPath(300, 'p');
    PrepareFileSelector(rd, &dialog, longPath.c_str(), SelectorKind::LOAD);
    const OPENFILENAMEA& record = dialog.record;
    ok(record.lpstrFile == rd->selectorBuffer && std::strlen(rd->selectorBuffer) == 259,
       "the initial path should be cut to 259 characters in the result buffer\n");
    ok(record.nMaxFile == 259 && rd->selectorBufferSize == 260, "nMaxFile: got %lu\n", record.nMaxFile);
    ok(record.lpstrInitialDir == nullptr, "no initial directory: the dialog starts where the name says\n");
    ok(record.lpstrFileTitle == dialog.fileTitle && record.nMaxFileTitle == 260, "the file-title scratch buffer\n");

    ActionSetExtensionFilter(rd, reinterpret_cast<HostWord>("Text|*.txt"), -3);
    PrepareFileSelector(rd, &dialog, nullptr, SelectorKind::SAVE);
    ok(rd->selectorBuffer[0] == '\0' && record.nFilterIndex == static_cast<DWORD>(-3),
       "no initial path gives an empty name; the index goes as stored\n");
    ok(FileSelectorHook(nullptr, WM_INITDIALOG, 0, 0) == 1 && FileSelectorHook(nullptr, WM_COMMAND, 0, 0) == 0,
       "the hook answers 1 to WM_INITDIALOG only\n");

    // The host's bit forbids the hook (selector_dialogs.qtxs); the other bits of its byte do not.
    std::uint8_t& hostFlags = harness::host->appHeader[harness::NO_HOOK_FLAG_BYTE];
    hostFlags = static_cast<std::uint8_t>(~harness::NO_HOOK_FLAG_BIT);
    PrepareFileSelector(rd, &dialog, nullptr, SelectorKind::LOAD);
    ok((dialog.record.Flags & OFN_ENABLEHOOK) && dialog.record.lpfnHook == FileSelectorHook,
       "host byte 0x%02X: expected the hook, got flags 0x%lX\n", hostFlags, dialog.record.Flags);
    hostFlags = 0;
    harness::DeleteObject(rd);
}

// What a wide dialog chose, as the test's folder makes it: Ābc (its name unspellable in the ANSI
// code page) beside Abc, which the ANSI calls would bend it to. Entries of a list are separated
// by '|' here; each file holds its own name's content, listed in the row.
struct SpellRow {
    const char* note;
    const wchar_t* chosen;
    const char* contents;   // of the files the answer names, '|' between them; null: no answer
};

const SpellRow SPELL_ROWS[] = {
    {"a name the code page spells", L"Abc\\rAport.txt", "bent twin"},
    {"a file name it cannot spell", L"\u0100bc\\r\u0100port.txt", "chosen"},
    {"a folder it cannot spell", L"\u0100bc", "b"},
    {"a new name in that folder", L"\u0100bc\\new.txt", "b"},
    {"a new name it cannot spell", L"\u0100bc\\n\u0100w.txt", nullptr},
    {"a list in that folder", L"\u0100bc|r\u0100port.txt|b.txt", "chosen|b"},
};

void WriteWide(const std::wstring& name, const char* content) {
    HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, content, static_cast<DWORD>(std::strlen(content)), &written, nullptr);
    CloseHandle(file);
}

std::string Content(const std::string& name) {
    char text[64] = "";
    DWORD read = 0;
    HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "(no file)";
    ReadFile(file, text, sizeof text - 1, &read, nullptr);
    CloseHandle(file);
    return std::string(text, read);
}

// The contents of the files an answer names, '|' between them; for a folder or a new name, the
// content of b.txt in that folder.
std::string ContentsOf(const char* answer, bool list) {
    const DWORD attributes = GetFileAttributesA(answer);
    if (list) {
        std::string contents;
        for (const char* name = answer + std::strlen(answer) + 1; *name; name += std::strlen(name) + 1) {
            if (!contents.empty()) contents += '|';
            contents += Content(std::string(answer) + "\\" + name);
        }
        return contents;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return Content(answer);
    std::string folder = answer;
    if (attributes == INVALID_FILE_ATTRIBUTES) folder.erase(folder.rfind('\\'));
    return Content(folder + "\\b.txt");
}

// The wide dialogs on the NT family only; each choice spelt so that it leads to what was chosen.
void test_spelt_names(bool ntFamily) {
    WideRoutines wide;
    ok(FindWideRoutines(wide) == ntFamily, "wide dialogs: expected %d on this family\n", ntFamily);
    if (!ntFamily) return;
    // A folder of this process's own: the copies that run as other versions share the directory.
    wchar_t folder[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, folder);
    const std::wstring here = std::wstring(folder) + L"\\spelt-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(here.c_str(), nullptr);
    const wchar_t* folders[] = {L"Abc", L"\u0100bc"};
    const struct { const wchar_t* name; const char* content; } files[] = {
        {L"Abc\\rAport.txt", "bent twin"}, {L"\u0100bc\\r\u0100port.txt", "chosen"}, {L"\u0100bc\\b.txt", "b"}};
    for (const wchar_t* name : folders) CreateDirectoryW((here + name).c_str(), nullptr);
    for (const auto& file : files) WriteWide(here + file.name, file.content);
    for (const SpellRow& row : SPELL_ROWS) {
        std::wstring chosen = here + row.chosen;
        const bool list = chosen.find(L'|') != std::wstring::npos;
        for (wchar_t& c : chosen) c = c == L'|' ? L'\0' : c;
        chosen.append(2, L'\0');
        char answer[MULTIPLE_RESULT_SIZE];
        const bool spelt = list ? SpellChosenList(wide, chosen.c_str(), answer, sizeof answer)
                                : SpellChosenPath(wide, chosen.c_str(), answer, PATH_BUFFER_SIZE);
        ok(spelt == (row.contents != nullptr), "%s: expected %s answer\n", row.note, row.contents ? "an" : "no");
        if (!spelt || !row.contents) continue;
        const std::string got = ContentsOf(answer, list);
        ok(got == row.contents && !std::strchr(answer, '?'), "%s: expected \"%s\", got \"%s\" from %s\n", row.note,
           row.contents, got.c_str(), answer);
    }
    const std::wstring tooLong = here + std::wstring(300, L'a');
    char answer[PATH_BUFFER_SIZE];
    ok(!SpellChosenPath(wide, tooLong.c_str(), answer, sizeof answer), "a path of 300 characters has no answer\n");
    for (const auto& file : files) DeleteFileW((here + file.name).c_str());
    for (const wchar_t* name : folders) RemoveDirectoryW((here + name).c_str());
    RemoveDirectoryW(here.c_str());
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

// What a dialog told it may fill 16 characters writes over a fresh scratch block, and the length
// of the answer taken from it (0: as after Cancel).
struct AnswerRow {
    const char* note;
    std::string written;           // from the block's start; NULs included
    bool multiple;
    std::size_t length;
};

const AnswerRow ANSWER_ROWS[] = {
    {"a list that ends within the told space", std::string("C:\\d\0a\0bb\0\0", 11), true, 11},
    {"a list whose empty string is the last told character", std::string("C:\\d\0aaaaaa\0bb\0\0", 16), true, 16},
    {"one path, where several may be chosen", std::string("C:\\d\\a\0", 7), true, 8},
    {"a list written whole past the told space", std::string("C:\\d\0aaaaaaaaaa\0bb\0\0", 20), true, 0},
    {"a list cut at the told space", std::string("C:\\d\0aaaaaa\0bbbb", 16), true, 0},
    {"a list cut a character short of it", std::string("C:\\d\0aaaaaa\0b", 13), true, 0},
    {"a list cut after a name", std::string("C:\\d\0aaaaaa\0", 12), true, 0},
    {"one path ended by the last told character", std::string("C:\\dddddddddddd\0", 16), false, 16},
    {"one path without its end", std::string("C:\\ddddddddddddd", 16), false, 0},
};

// The scratch block keeps a cut answer from seeming whole, in both widths.
template <typename Character>
void CheckAnswers(const char* width) {
    constexpr std::size_t TOLD = 16;
    for (const AnswerRow& row : ANSWER_ROWS) {
        Character* block = MakeSelectionScratch<Character>(TOLD, nullptr);
        for (std::size_t i = 0; i < row.written.size(); ++i) block[i] = static_cast<Character>(row.written[i]);
        const std::size_t length = SelectionLength(block, TOLD, row.multiple);
        ok(length == row.length, "%s, %s: expected %u, got %u\n", width, row.note, static_cast<unsigned>(row.length),
           static_cast<unsigned>(length));
        LocalFree(block);
    }
}

void test_dialog_answers() {
    CheckAnswers<char>("ANSI");
    CheckAnswers<wchar_t>("wide");
    char initial[PATH_BUFFER_SIZE];
    std::memset(initial, 'x', sizeof initial);   // not ended: the block ends it within the told space
    char* block = MakeSelectionScratch<char>(8, initial);
    ok(block && SelectionLength(block, 8, false) == 8, "an unended initial path should be ended within the told space\n");
    LocalFree(block);
}

using Bytes = std::vector<std::uint8_t>;

constexpr char STATE_FILE[] = "selector_state.bin";
constexpr std::size_t BLOCK = sizeof(SavedSelectorState);
constexpr std::size_t BLOCKS = 10000;

// Writes the bytes to a file or pipe handle and closes it.
void WriteAndClose(HANDLE file, const Bytes& bytes) {
    DWORD written = 0;
    if (!bytes.empty()) WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// LoadRunObject on a state file of the given bytes, opened as the host opens its save file.
int LoadStateFile(RunData* rd, const Bytes& bytes) {
    WriteAndClose(CreateFileA(STATE_FILE, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr), bytes);
    HANDLE file = CreateFileA(STATE_FILE, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const int answer = LoadRunObject(rd, file);
    CloseHandle(file);
    return answer;
}

// A saved single result of `tail` bytes whose size field says `size`.
Bytes Block(std::uint32_t tail, std::uint32_t size) {
    Bytes bytes(BLOCK + tail, 0);
    bytes[0] = 1;
    std::memcpy(bytes.data() + 4, &size, 4);
    for (std::uint32_t i = 0; i < tail; ++i) bytes[BLOCK + i] = static_cast<std::uint8_t>('a' + i % 26);
    return bytes;
}

// Blocks of the heap filled with bytes that are not zero and given back, so that the next blocks
// of that size the heap hands out do not read as zeros by chance.
void SpoilHeap(std::size_t size) {
    void* blocks[16];
    for (void*& block : blocks) block = std::memset(std::malloc(size), 0xA5, size);
    for (void* block : blocks) std::free(block);
}

// Through a pipe, whose size cannot be known, a tail cut short keeps the announced size, and what
// did not arrive reads as zeros, whatever the heap held there before.
void test_short_read() {
    HANDLE reader = nullptr, writer = nullptr;
    CreatePipe(&reader, &writer, nullptr, 4096);
    const Bytes expected = Block(100, 260);
    WriteAndClose(writer, expected);
    RunData* rd = harness::NewObject();
    SpoilHeap(260);
    ok(LoadRunObject(rd, reader) == 0 && rd->selectorBufferSize == 260, "short tail: size %u\n", rd->selectorBufferSize);
    ok(rd->selectorBuffer && std::memcmp(rd->selectorBuffer, expected.data() + BLOCK, 100) == 0 &&
           std::memcmp(rd->selectorBuffer + 100, Bytes(160, 0).data(), 160) == 0,
       "the 100 bytes that came, then zeros\n");
    CloseHandle(reader);
    harness::DeleteObject(rd);
}

// Block i: the first 701 are every cut of a valid block, the rest random bytes or a size field
// the tail may or may not fill.
Bytes GenerateBlock(std::mt19937& random, std::size_t i) {
    const std::uint32_t sizes[] = {0, 1, 259, 260, 65000, 70000, 0x7FFFFFFF, 0xFFFFFFFF};
    if (i <= 700) {
        Bytes cut = Block(260, 260);
        cut.resize(i);
        return cut;
    }
    if (random() % 4) {
        const std::uint32_t size = sizes[random() % std::size(sizes)];
        return Block(random() % 2 ? std::min(size, 70000u) : random() % 1000, size);
    }
    Bytes bytes(random() % 1400);   // random bytes, often with a valid version
    for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random());
    if (bytes.size() >= BLOCK && random() % 2) bytes[0] = 1, bytes[1] = 0;
    return bytes;
}

// Refused whole (nothing changes), loaded whole (the tail is the buffer), or, when the file holds
// less than the size field says, answered as a failed allocation: no buffer, size 0, answer 0.
bool LoadedRightly(const Bytes& bytes, const RunData* rd, int answer) {
    if (bytes.size() < BLOCK || bytes[0] != 1 || bytes[1] != 0) return answer == 0 && !std::strcmp(rd->selectorTitle, "before");
    std::uint32_t size = 0;
    std::int16_t mode = 0;   // loaded sign-extended
    std::memcpy(&size, bytes.data() + 4, 4);
    std::memcpy(&mode, bytes.data() + 2, 2);
    if (rd->multiSelect != static_cast<std::uint32_t>(mode) || rd->filterIndex != 9 || rd->lastError != 5) return false;
    if (size == 0) return answer == 1 && rd->selectorBufferSize == 0;
    if (bytes.size() - BLOCK < size) return answer == 0 && !rd->selectorBuffer && rd->selectorBufferSize == 0;
    return answer == 1 && rd->selectorBufferSize == size && !std::memcmp(rd->selectorBuffer, bytes.data() + BLOCK, size);
}

void test_generated_blocks() {
    std::mt19937 random(20260605);
    int wrong = 0;
    for (std::size_t i = 0; i < BLOCKS; ++i) {
        const Bytes block = GenerateBlock(random, i);
        RunData* rd = harness::NewObject();
        if (i % 2) ReserveSelectorBuffer(rd, 260);   // every other object holds a result already
        ActionSetTitle(rd, reinterpret_cast<HostWord>("before"), 0);
        rd->filterIndex = 9;   // neither is saved: both keep their values
        rd->lastError = 5;
        const int answer = LoadStateFile(rd, block);
        if (!LoadedRightly(block, rd, answer) && ++wrong <= 10)
            ok(false, "block %zu (%zu bytes): answered %d, size %u\n", i, block.size(), answer, rd->selectorBufferSize);
        harness::DeleteObject(rd);
    }
    ok(wrong == 0, "%d of %zu generated blocks were loaded wrongly\n", wrong, BLOCKS);
}

}  // namespace

int main() {
    harness::StartTestHost();
    const WindowsVersion* version = RunningVersion();
    test_platform_version(version);
    test_style_flags(version ? version->sizable : true);
    test_record_fields();
    test_spelt_names(version ? version->platform == VER_PLATFORM_WIN32_NT : true);
    test_result_walks();
    test_dialog_answers();
    if (!version) {   // no version changes the saved state
        test_short_read();
        test_generated_blocks();
        DeleteFileA(STATE_FILE);
    }
    return harness::Summary(version ? version->suffix + 1 : "selector_record_test");
}
