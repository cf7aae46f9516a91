// Record-level checks of the module: the bytes it writes into the host's records (the launch
// request's zeros among them), its menus, the bounded copies, the stream copy's error rule and
// sizes past 32 bits through the calls Windows 95 has, looked at directly; and the file actions
// of an object whose creation got no workPath.
#include <windows.h>
#include <direct.h>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "catalogue/descriptors.h"
#include "catalogue/entry_codes.h"
#include "catalogue/menus.h"
#include "catalogue/routine_tables.h"
#include "fileops/block_copy.h"
#include "harness/ok.h"
#include "harness/test_host.h"
#include "info/file_status.h"
#include "launcher/run_application.h"
#include "qtfile_version.h"
#include "runtime/module_api.h"
#include "state/file_handles.h"
#include "state/last_error.h"
#include "state/path_names.h"
#include "state/run_data.h"

namespace {

HMODULE module;

template <typename Function>
Function Export(const char* name) {
    return ModuleExport<Function>(module, name);
}

void test_GetRunObjectInfos() {
    auto getInfos = Export<decltype(&::GetRunObjectInfos)>("GetRunObjectInfos");
    std::uint8_t bytes[sizeof(RunInfos) + 32];
    std::memset(bytes, 0xA5, sizeof bytes);
    auto* infos = reinterpret_cast<RunInfos*>(bytes);
    ok(getInfos(0, infos) == 1, "GetRunObjectInfos should answer 1\n");
    ok(infos->conditionCount == 6 && infos->actionCount == 23 && infos->expressionCount == 33,
       "counts: expected 6 23 33, got %u %u %u\n", infos->conditionCount, infos->actionCount, infos->expressionCount);
    ok(infos->editDataSize == 24, "editDataSize: expected 24, got %u\n", infos->editDataSize);
    ok(infos->hostDefined20 == 1 && infos->hostDefined24 == 100 && infos->hostDefined26 == 0 &&
           infos->hostDefined32 == 0, "host-defined fields: got %u %u %u %u\n", infos->hostDefined20,
       infos->hostDefined24, infos->hostDefined26, infos->hostDefined32);
    const std::uint8_t* id = bytes + offsetof(RunInfos, identifier);
    ok(std::memcmp(id, "ELIF", 4) == 0, "identifier bytes: expected ELIF, got %.4s\n", id);
    ok(bytes[offsetof(RunInfos, hostDefined25)] == 0xA5, "byte 25 must stay as the host left it, got 0x%02X\n",
       bytes[offsetof(RunInfos, hostDefined25)]);
    for (std::size_t i = offsetof(RunInfos, hostDefined32) + 2; i < sizeof bytes; ++i)
        ok(bytes[i] == 0xA5, "byte %zu past the record must stay as the host left it, got 0x%02X\n", i, bytes[i]);
    ok(infos->conditionRoutines[CONDITION_COUNT] == nullptr && infos->actionRoutines[ACTION_COUNT] == nullptr &&
           infos->expressionRoutines[EXPRESSION_COUNT] == nullptr, "each routine table must end with a null entry\n");
}

void test_identity() {
    auto getInfos = Export<decltype(&::GetInfos)>("GetInfos");
    const int expected[9] = {512, 0, 0, 0, 0, 0, 1, 247, 0};
    for (int query = 0; query <= 8; ++query)
        ok(getInfos(query) == expected[query], "GetInfos(%d): expected %d, got %d\n", query, expected[query],
           getInfos(query));
    auto help = Export<decltype(&::GetHelpFileName)>("GetHelpFileName");
    ok(std::strcmp(help(), "File.chm") == 0, "help file: got %s\n", help());
    auto dataSize = Export<decltype(&::GetRunObjectDataSize)>("GetRunObjectDataSize");
    ok(dataSize(0, 0) == sizeof(RunData), "GetRunObjectDataSize: expected %zu, got %d\n", sizeof(RunData), dataSize(0, 0));
    auto handle = Export<decltype(&::HandleRunObject)>("HandleRunObject");
    ok(handle(nullptr) == 1 && handle(nullptr) == 1, "HandleRunObject should answer 1 every time\n");
    const char* shared[] = {"DisplayRunObject", "ReInitRunObject", "PauseRunObject", "ContinueRunObject"};
    for (const char* name : shared)   // one routine: pe_file_check reads their shared address
        ok(Export<decltype(&::IdleRunObject)>(name)(nullptr) == 0, "%s should answer 0\n", name);
    auto update = Export<decltype(&::UpdateEditStructure)>("UpdateEditStructure");
    ok(update(0, 0) == 0, "UpdateEditStructure should answer 0\n");
}

// The five about strings are string ids 128 to 132 (pe_file_check compares them with strings.rc),
// each in its own buffer, also when the host passes no buffer for one of the others.
void test_about_strings() {
    auto objInfos = Export<decltype(&::GetObjInfos)>("GetObjInfos");
    constexpr int ABOUT_STRINGS = 5;
    for (int missing = -1; missing < ABOUT_STRINGS; ++missing) {
        char* buffers[ABOUT_STRINGS];
        for (int i = 0; i < ABOUT_STRINGS; ++i) buffers[i] = i == missing ? nullptr : static_cast<char*>(GuardedAlloc(255));
        objInfos(0, 0, buffers[0], buffers[1], buffers[2], buffers[3], buffers[4]);
        for (int i = 0; i < ABOUT_STRINGS; ++i) {
            if (i == missing) continue;
            char expected[255] = "";
            LoadStringA(module, 128 + i, expected, sizeof expected);
            ok(*expected && std::strcmp(buffers[i], expected) == 0, "buffer %d null: about string %d: expected \"%s\", got \"%s\"\n",
               missing, 128 + i, expected, buffers[i]);
            GuardedFree(buffers[i]);
        }
    }
}

void test_edit_data() {
    auto createObject = Export<decltype(&::CreateObject)>("CreateObject");
    auto objectRect = Export<decltype(&::GetObjectRect)>("GetObjectRect");
    auto* editor = static_cast<EditorHost*>(GuardedAlloc(sizeof(EditorHost)));
    editor->getHostVersion = nullptr;
    auto* edit = static_cast<EditData*>(GuardedAlloc(sizeof(EditData)));
    std::memset(edit, 0x5A, sizeof(EditData));
    ok(createObject(editor, 0, edit) == -1, "CreateObject without a version routine should answer -1\n");
    ok(edit->width == 32 && edit->height == 32, "EditData should read 32 x 32, got %d x %d\n", edit->width, edit->height);
    for (int i = 0; i < 20; ++i) ok(edit->header[i] == 0x5A, "EditData header byte %d changed\n", i);

    struct RectCase {
        std::int16_t width, height;
        LONG left, top, right, bottom;
    } cases[] = {{32, 32, 100, 50, 132, 82}, {-16, 8, 100, 50, 84, 58}, {0, 0, -5, -5, -5, -5}};
    for (const RectCase& c : cases) {
        edit->width = c.width;
        edit->height = c.height;
        RECT rect{c.left, c.top, 999, 999};
        objectRect(0, &rect, 0, edit);
        ok(rect.left == c.left && rect.top == c.top && rect.right == c.right && rect.bottom == c.bottom,
           "size %d x %d at %ld,%ld: expected right %ld bottom %ld, got %ld %ld\n", c.width, c.height, c.left, c.top,
           c.right, c.bottom, rect.right, rect.bottom);
    }
}

void test_new_record() {
    auto create = Export<decltype(&::CreateRunObject)>("CreateRunObject");
    auto destroy = Export<decltype(&::DestroyRunObject)>("DestroyRunObject");
    auto* rd = static_cast<RunData*>(GuardedAlloc(sizeof(RunData)));
    std::memset(rd, 0xEE, sizeof(RunData));
    ok(create(rd, 0, 0) == 0, "CreateRunObject should answer 0\n");
    ok(std::memcmp(rd->filterList, "All files\0*.*\0\0\0\xEE", 17) == 0,
       "filterList should hold All files, *.*, an end, and nothing written past those 16 bytes\n");
    ok(rd->filterIndex == 0 && rd->lastError == 0 && rd->multiSelect == 0 && rd->selectorStyle == 0,
       "settings: got index %d error %u mode %u style %u\n", rd->filterIndex, rd->lastError, rd->multiSelect,
       rd->selectorStyle);
    ok(rd->selectorBuffer == nullptr && rd->selectorBufferSize == 0, "no selector buffer expected\n");
    ok(rd->selectorTitle[0] == '\0' && rd->defaultExtension[0] == '\0', "title and extension should be empty\n");
    char cwd[MAX_PATH] = "";
    _getcwd(cwd, MAX_PATH);
    ok(std::strcmp(rd->initialDirectory, cwd) == 0, "initialDirectory: expected %s, got %s\n", cwd, rd->initialDirectory);
    ok(rd->workPath != nullptr, "workPath should be allocated\n");
    ok(destroy(rd, 0) == 0, "DestroyRunObject should answer 0\n");
}

// Item texts reach the copy cut to 79 characters, states and ids kept; popups nest.
void test_CopyMenuItems() {
    const std::string longText(100, 'm');
    HMENU source = CreatePopupMenu(), inner = CreatePopupMenu();
    AppendMenuA(source, MF_STRING | MF_GRAYED | MF_CHECKED, 7, longText.c_str());
    AppendMenuA(source, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(inner, MF_STRING, 9, std::string(79, 'n').c_str());
    AppendMenuA(source, MF_POPUP, reinterpret_cast<UINT_PTR>(inner), "Inner");
    HMENU copy = CreatePopupMenu();
    CopyMenuItems(copy, source);
    char text[200] = "";
    GetMenuStringA(copy, 0, text, sizeof text, MF_BYPOSITION);
    ok(std::strlen(text) == 79, "a 100-character text: expected 79 characters, got %zu\n", std::strlen(text));
    ok(GetMenuItemID(copy, 0) == 7 && (GetMenuState(copy, 0, MF_BYPOSITION) & (MF_GRAYED | MF_CHECKED)) ==
           (MF_GRAYED | MF_CHECKED), "id and state of the first item should be kept\n");
    ok(GetMenuItemID(copy, 1) == 0, "separator expected at position 1\n");
    HMENU innerCopy = GetSubMenu(copy, 2);
    GetMenuStringA(innerCopy, 0, text, sizeof text, MF_BYPOSITION);
    ok(innerCopy && std::strlen(text) == 79 && GetMenuItemID(innerCopy, 0) == 9, "nested item: got %zu chars\n",
       std::strlen(text));
    DestroyMenu(copy);
    DestroyMenu(source);
}

// At most 259 characters survive, the rest of the 260 bytes is zero, nothing beyond is written;
// a null source copies as the empty string.
void test_CopyPath() {
    const std::string text(300, 'p');   // its last 259 and 260 characters, then all 300
    const char* const sources[] = {nullptr, "", "p", text.c_str() + 41, text.c_str() + 40, text.c_str()};
    for (const char* source : sources) {
        const std::size_t length = source ? std::strlen(source) : 0, kept = length < 259 ? length : 259;
        auto* destination = static_cast<char*>(GuardedAlloc(PATH_BUFFER_SIZE));
        std::memset(destination, '#', PATH_BUFFER_SIZE);
        CopyPath(destination, source);
        const std::size_t copied = strnlen(destination, PATH_BUFFER_SIZE);
        ok(copied == kept, "%s of %zu characters: expected %zu kept, got %zu\n", source ? "source" : "null source", length,
           kept, copied);
        bool zeroFilled = true;
        for (std::size_t i = kept; i < PATH_BUFFER_SIZE; ++i) zeroFilled &= destination[i] == '\0';
        ok(zeroFilled, "%s of %zu characters: the bytes after the copy should be zero\n", source ? "source" : "null source",
           length);
    }
}

// The version record, as Windows' file properties read it: the version numbers are the build's
// (release_check ties them to the release's name), and the strings Windows shows under the
// block the translation names. The other values are the resource script's, compared whole by
// pe_file_check.
constexpr WORD kVersion[] = {QTFILE_VERSION_WORDS};
constexpr DWORD kVersionMS = DWORD{kVersion[0]} << 16 | kVersion[1];
constexpr DWORD kVersionLS = DWORD{kVersion[2]} << 16 | kVersion[3];
constexpr const char* kVersionStrings[] = {"FileVersion", "ProductVersion"};

// The value of one entry of the version block, or null.
const void* VersionValue(const std::string& block, const std::string& name, UINT* length) {
    void* value = nullptr;
    return VerQueryValueA(block.data(), name.c_str(), &value, length) ? value : nullptr;
}

void test_version_record(const char* path) {
    DWORD handle = 0;
    std::string block(GetFileVersionInfoSizeA(path, &handle), '\0');
    UINT length = 0;
    const auto* fixed = !block.empty() && GetFileVersionInfoA(path, handle, block.size(), block.data())
                            ? static_cast<const VS_FIXEDFILEINFO*>(VersionValue(block, "\\", &length)) : nullptr;
    ok(fixed && length >= sizeof(VS_FIXEDFILEINFO), "the module should carry a version record with its fixed part\n");
    if (!fixed) return;
    ok(fixed->dwFileVersionMS == kVersionMS && fixed->dwFileVersionLS == kVersionLS && fixed->dwProductVersionMS == kVersionMS &&
           fixed->dwProductVersionLS == kVersionLS,
       "file and product versions: expected the build's, %s\n", QTFILE_VERSION_TEXT);
    const auto* translation = static_cast<const WORD*>(VersionValue(block, "\\VarFileInfo\\Translation", &length));
    ok(translation && length == 4 && translation[0] == 0x0409 && translation[1] == 0x04E4,
       "version translation: expected one, 0x0409 0x04E4\n");
    for (const char* name : kVersionStrings) {
        const auto* text = static_cast<const char*>(VersionValue(block, std::string("\\StringFileInfo\\040904e4\\") + name, &length));
        ok(text && std::strcmp(text, QTFILE_VERSION_TEXT) == 0, "version string %s: expected \"%s\", got \"%s\"\n", name,
           QTFILE_VERSION_TEXT, text ? text : "(absent)");
    }
}

RunHeader host{};
std::uint8_t lastRequest[LAUNCH_REQUEST_SIZE];

HostWord WINAPI KeepRequest(RunData*, HostWord, void* request) {
    std::memcpy(lastRequest, request, sizeof lastRequest);
    return 0;
}

void WriteText(const char* name, const std::string& content) {
    std::ofstream(name, std::ios::binary) << content;
}

std::string ReadText(const char* name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

HostWord Text(const char* text) {
    return reinterpret_cast<HostWord>(text);
}

// Without workPath the name tests that need it answer false and every action stores 12 (after
// the application cleared the first 12); nothing on disk changes.
void test_no_work_path() {
    WriteText("keep.txt", "keep");
    _mkdir("keepdir");
    RunData rd{};
    for (int code : {CONDITION_NAME_EXISTS, CONDITION_FILE_IS_READABLE, CONDITION_NAME_IS_FILE, CONDITION_NAME_IS_DIRECTORY})   // "File is writeable" needs no workPath
        ok(ConditionRoutines[code](&rd, Text("keep.txt"), 0) == 0, "condition %d without workPath: expected 0\n", code);
    for (int code = ACTION_CHANGE_DIRECTORY; code <= ACTION_APPEND_TEXT; ++code) {   // the file and directory actions
        rd.lastError = 0;
        ActionRoutines[code](&rd, Text("keepdir"), Text("keep.txt"));
        ok(rd.lastError == 12, "action %d without workPath: lastError %u\n", code, rd.lastError);
    }
    ok(ReadText("keep.txt") == "keep", "keep.txt changed: %s\n", ReadText("keep.txt").c_str());
    ok(GetFileAttributesA("keepdir") != INVALID_FILE_ATTRIBUTES, "keepdir went away\n");
    ActionRoutines[ACTION_CLEAR_LAST_ERROR](&rd, 0, 0);
    ok(rd.lastError == 0, "Clear the last error without workPath: lastError %u\n", rd.lastError);
}

// A copy fails whenever a read or a write fails (a source opened for writing only; a destination
// opened for reading only), and the source stays intact; through the buffer's own 260 bytes, when
// the heap gives no block, it is whole too.
void test_CopyBlocks() {
    const std::string pattern(100000, 'p');
    WriteText("source.bin", pattern);
    CopyBuffer heap;
    ObtainCopyBuffer(heap);
    ok(heap.data != heap.own && heap.size == 64 * 1024, "a buffer of %u bytes from the heap\n", unsigned(heap.size));
    CopyBuffer small;
    small.data = small.own;
    small.size = sizeof small.own;
    for (const char* spoil : {"", "source", "destination", "own"}) {
        WriteText("destination.bin", "");
        const DWORD sourceAccess = *spoil == 's' ? GENERIC_WRITE : GENERIC_READ;
        const DWORD destinationAccess = *spoil == 'd' ? GENERIC_READ : GENERIC_WRITE;
        HANDLE source = CreateFileA("source.bin", sourceAccess, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        HANDLE destination = CreateFileA("destination.bin", destinationAccess, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        DWORD failure = NO_ERROR;
        const bool copied = CopyBlocks(*spoil == 'o' ? small : heap, source, destination, failure);
        CloseHandle(source);
        CloseHandle(destination);
        const bool spoilt = *spoil == 's' || *spoil == 'd';
        ok(copied != spoilt && (failure != NO_ERROR) == spoilt, "spoiled %s: copied %d, error %lu\n", spoil, copied, failure);
        ok(ReadText(spoilt ? "source.bin" : "destination.bin") == pattern, "spoiled %s: a copy or the source differs\n", spoil);
    }
    ReleaseCopyBuffer(heap);
}

std::string Field(std::size_t offset, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(lastRequest + offset), size);
}

// Each field is its text and zeros to its end, or all zeros when the text does not fit (what
// the request shows as text stops at the first NUL).
void test_launch_request_bytes() {
    host.launchProgram = KeepRequest;
    RunData rd{};
    rd.header.runHeader = &host;
    const std::string name260(260, 'p');
    ActionRoutines[ACTION_RUN_APPLICATION](&rd, Text(name260.c_str()), Text("(wait)x"));
    std::string line(7930, '\0');
    line[0] = 'x';
    ok(lastRequest[0] == LAUNCH_WAIT && lastRequest[1] == 0, "flags: %02X %02X\n", lastRequest[0], lastRequest[1]);
    ok(Field(2, 260) == std::string(260, '\0') && Field(262, 7930) == line, "program all zeros, command x and zeros\n");
}

// A sparse file of each size (4 GiB - 1 ends in a low word of all ones, as a failure does): its
// size and the position at its end, asked of the handle, and its size as a runtime without
// _stat64 gives it.
void test_sizes_past_32_bits() {
    constexpr std::int64_t SIZES[] = {0, 5, 0xFFFFFFFF, 0x100000005};
    for (const std::int64_t expected : SIZES) {
        HANDLE file = CreateFileA("sparse.bin", GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        LONG high = static_cast<LONG>(expected >> 32);
        SetFilePointer(file, static_cast<LONG>(expected), &high, FILE_BEGIN);
        SetEndOfFile(file);
        std::int64_t size = -1, position = -1;
        ok(HandleFileSize(file, size) && size == expected, "size of %llx: got %llx\n", expected, size);
        ok(HandlePosition(file, position) && position == expected, "position %llx: got %llx\n", expected, position);
        CloseHandle(file);
        FileStatus status{};
        ok(ReadNarrowFileStatus("sparse.bin", status) && status.size == expected, "status of %llx: got %llx\n",
           expected, status.size);
    }
    std::int64_t size = -1;
    ok(!HandleFileSize(nullptr, size), "a size from no handle: got %llx\n", size);
    FileStatus status{};
    ok(ReadNarrowFileStatus(".", status) && status.size == 0, "status of a directory: size %llx\n", status.size);
    ok(!ReadNarrowFileStatus("sparse.bi?", status), "a status found for a name with a wildcard\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || !(module = LoadLibraryA(argv[1]))) {
        std::printf("usage: module_test QTFILE.qtx (the module must load)\n");
        return 2;
    }
    test_GetRunObjectInfos();
    test_identity();
    test_about_strings();
    test_edit_data();
    test_new_record();
    test_CopyMenuItems();
    test_CopyPath();
    test_version_record(argv[1]);
    test_no_work_path();
    test_CopyBlocks();
    test_launch_request_bytes();
    test_sizes_past_32_bits();
    for (const char* name : {"keep.txt", "source.bin", "destination.bin", "sparse.bin"}) std::remove(name);
    _rmdir("keepdir");
    return harness::Summary("module_test");
}
