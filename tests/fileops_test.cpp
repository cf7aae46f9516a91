// Record-level checks of the file actions and "Run application": an object whose creation got
// no workPath, the stream copy's error rule, the zeros of the launch request, and sizes past 32
// bits through the calls Windows 95 has.
#include <windows.h>
#include <direct.h>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "catalogue/catalogue.h"
#include "fileops/copy_stream.h"
#include "harness/ok.h"
#include "info/file_status.h"
#include "launcher/launch_request.h"
#include "state/file_size.h"
#include "state/last_error.h"

namespace {

RunHeader host{};
std::uint8_t lastRequest[LAUNCH_REQUEST_SIZE];

HostWord WINAPI KeepRequest(RunData*, HostWord, void* request) {
    std::memcpy(lastRequest, request, sizeof lastRequest);
    return 0;
}

void WriteFile(const char* name, const std::string& content) {
    std::ofstream(name, std::ios::binary) << content;
}

std::string ReadFile(const char* name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

HostWord Text(const char* text) {
    return reinterpret_cast<HostWord>(text);
}

// Without workPath the name tests that need it answer false and every action stores 12 (after
// the application cleared the first 12); nothing on disk changes.
void test_no_work_path() {
    WriteFile("keep.txt", "keep");
    _mkdir("keepdir");
    RunData rd{};
    for (int code : {1, 2, 4, 5})   // 3, "File is writeable", needs no workPath
        ok(ConditionRoutines[code](&rd, Text("keep.txt"), 0) == 0, "condition %d without workPath: expected 0\n", code);
    for (int code = 0; code <= 10; ++code) {
        rd.lastError = 0;
        ActionRoutines[code](&rd, Text("keepdir"), Text("keep.txt"));
        ok(rd.lastError == 12, "action %d without workPath: lastError %u\n", code, rd.lastError);
    }
    ok(ReadFile("keep.txt") == "keep", "keep.txt changed: %s\n", ReadFile("keep.txt").c_str());
    ok(GetFileAttributesA("keepdir") != INVALID_FILE_ATTRIBUTES, "keepdir went away\n");
    ActionRoutines[11](&rd, 0, 0);
    ok(rd.lastError == 0, "Clear the last error without workPath: lastError %u\n", rd.lastError);
}

// The result is 32 whenever a stream's error indicator is set (a spoiled source; a destination
// that takes no writes), and the source stays intact.
void test_CopyStream() {
    char path[PATH_BUFFER_SIZE] = {};
    RunData rd{};
    rd.workPath = path;
    const std::string pattern(10000, 'p');
    WriteFile("source.bin", pattern);
    for (const char* spoil : {"", "source", "destination"}) {
        WriteFile("destination.bin", "");
        FILE* source = std::fopen("source.bin", "rb");
        if (*spoil == 's') std::fputc('x', source);
        FILE* destination = std::fopen("destination.bin", *spoil == 'd' ? "rb" : "wb");
        const std::uint32_t result = CopyStream(&rd, source, destination);
        std::fclose(source);
        std::fclose(destination);
        ok(result == (*spoil ? ERROR_CODE_STREAM : 0), "spoiled %s: got %u\n", spoil, result);
        ok(ReadFile(*spoil ? "source.bin" : "destination.bin") == pattern, "spoiled %s: a copy or the source differs\n", spoil);
    }
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
    ActionRoutines[12](&rd, Text(name260.c_str()), Text("(wait)x"));
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

int main() {
    test_no_work_path();
    test_CopyStream();
    test_launch_request_bytes();
    test_sizes_past_32_bits();
    for (const char* name : {"keep.txt", "source.bin", "destination.bin", "sparse.bin"}) std::remove(name);
    _rmdir("keepdir");
    return harness::Summary("fileops_test");
}
