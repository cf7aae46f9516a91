// The saved selector state on real files and a pipe: a read cut short, and LoadRunObject fed
// 10 000 generated blocks (fixed seed); no block costs more memory than its file holds, however
// large its size field.
#include <windows.h>
#include <cstring>
#include <random>
#include <algorithm>
#include <vector>

#include "harness/ok.h"
#include "harness/test_host.h"
#include "selector/selector_buffer.h"
#include "selector/selector_settings.h"
#include "state/saved_state.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr char STATE_FILE[] = "saved_state_test.bin";
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

// Through a pipe, whose size cannot be known, a tail cut short keeps the announced size, and what
// did not arrive reads as zeros.
void test_short_read() {
    HANDLE reader = nullptr, writer = nullptr;
    CreatePipe(&reader, &writer, nullptr, 4096);
    const Bytes expected = Block(100, 260);
    WriteAndClose(writer, expected);
    RunData* rd = harness::NewObject();
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
    test_short_read();
    test_generated_blocks();
    DeleteFileA(STATE_FILE);
    return harness::Summary("saved_state_test");
}
