// The saved selector state on real files: the bytes written, round trips, and LoadRunObject fed
// 10 000 generated blocks (fixed seed), each followed by the result expressions over a buffer
// that ends at a guard page, so that a read past selectorBufferSize faults.
#include <windows.h>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "harness/ok.h"
#include "harness/test_host.h"
#include "selector/selector_buffer.h"
#include "selector/selector_results.h"
#include "selector/selector_settings.h"
#include "state/saved_state.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr char kStateFile[] = "saved_state_test.bin";
constexpr std::size_t BLOCK = sizeof(SavedSelectorState);

void WriteStateFile(const Bytes& bytes) {
    HANDLE file = CreateFileA(kStateFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (!bytes.empty()) WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

Bytes ReadStateFile() {
    HANDLE file = CreateFileA(kStateFile, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    Bytes bytes(GetFileSize(file, nullptr));
    DWORD got = 0;
    if (!bytes.empty()) ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(file);
    return bytes;
}

int Save(RunData* rd) {
    HANDLE file = CreateFileA(kStateFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const int answer = SaveRunObject(rd, file);
    CloseHandle(file);
    return answer;
}

int Load(RunData* rd) {
    HANDLE file = CreateFileA(kStateFile, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const int answer = LoadRunObject(rd, file);
    CloseHandle(file);
    return answer;
}

void PutU32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void test_fresh_block() {
    RunData* rd = harness::NewObject();
    ok(Save(rd) == 1, "saving a fresh object should answer 1\n");
    Bytes expected(BLOCK, 0);
    expected[0] = 1;
    const char filters[] = "All files\0*.*\0";
    std::memcpy(expected.data() + offsetof(SavedSelectorState, filterList), filters, sizeof filters);
    ok(ReadStateFile() == expected, "a fresh object saves exactly the 648-byte default block\n");
    harness::DeleteObject(rd);
}

// A 65000-byte result with settings round-trips byte for byte; filterIndex and lastError stay.
void test_round_trip() {
    RunData* rd = harness::NewObject();
    ActionSetTitle(rd, reinterpret_cast<HostWord>("Round trip"), 0);
    ActionSetStyle(rd, 0x21, 0);
    ActionSetExtensionFilter(rd, reinterpret_cast<HostWord>("Text|*.txt|Data|*.dat"), 2);
    ActionSetDefaultExtension(rd, reinterpret_cast<HostWord>("dat"), 0);
    ActionMultipleSelection(rd, 0, 0);
    ReserveSelectorBuffer(rd, 65000);
    for (std::uint32_t i = 0; i < 65000; ++i) rd->selectorBuffer[i] = static_cast<char>(i * 7 + 1);
    ok(Save(rd) == 1, "saving a 65000-byte result should answer 1\n");
    const Bytes saved = ReadStateFile();
    ok(saved.size() == BLOCK + 65000 && std::memcmp(saved.data() + BLOCK, rd->selectorBuffer, 65000) == 0,
       "the whole buffer follows the block, got %zu bytes\n", saved.size());

    RunData* copy = harness::NewObject();
    copy->filterIndex = 9;
    copy->lastError = 5;
    ok(Load(copy) == 1, "loading it back should answer 1\n");
    ok(copy->selectorBufferSize == 65000 && std::memcmp(copy->selectorBuffer, rd->selectorBuffer, 65000) == 0 &&
           copy->multiSelect == 1 && copy->selectorStyle == 0x21 &&
           std::memcmp(copy->selectorTitle, rd->selectorTitle, SELECTOR_TITLE_SIZE) == 0 &&
           std::memcmp(copy->defaultExtension, rd->defaultExtension, DEFAULT_EXTENSION_SIZE) == 0 &&
           std::memcmp(copy->filterList, rd->filterList, FILTER_LIST_SIZE) == 0,
       "every saved field comes back\n");
    ok(copy->filterIndex == 9 && copy->lastError == 5, "filterIndex and lastError keep their values\n");
    ok(Save(copy) == 1 && ReadStateFile() == saved, "saving the copy writes the same bytes\n");
    harness::DeleteObject(copy);
    harness::DeleteObject(rd);
}

void test_selection_mode_sign() {
    Bytes block(BLOCK, 0);
    block[0] = 1;
    block[2] = block[3] = 0xFF;
    WriteStateFile(block);
    RunData* rd = harness::NewObject();
    ok(Load(rd) == 1 && rd->multiSelect == 0xFFFFFFFF, "the 16-bit mode is sign-extended, got 0x%X\n", rd->multiSelect);
    harness::DeleteObject(rd);
}

// The block the generator starts from: a saved single result of 260 bytes.
Bytes ValidBlock(std::uint32_t tail) {
    Bytes bytes(BLOCK + tail, 0);
    bytes[0] = 1;
    PutU32(bytes, 4, tail);
    std::memcpy(bytes.data() + offsetof(SavedSelectorState, selectorTitle), "Fuzz", 4);
    for (std::uint32_t i = 0; i < tail; ++i) bytes[BLOCK + i] = static_cast<std::uint8_t>('a' + i % 26);
    return bytes;
}

std::vector<Bytes> GenerateBlocks() {
    std::mt19937 random(20260605);
    std::vector<Bytes> blocks;
    const Bytes valid = ValidBlock(260);
    for (std::size_t length = 0; length <= 700; ++length) blocks.emplace_back(valid.begin(), valid.begin() + length);
    // Sizes no file here can satisfy: the 64-bit build gets the memory and the platform then
    // touches all of it in the read, seconds each, so a few tails only.
    for (std::uint32_t size : {0x7FFFFFFFu, 0xFFFFFFFFu})
        for (std::uint32_t tail : {0u, 1u, 260u, 1000u}) {
            Bytes bytes = ValidBlock(tail);
            PutU32(bytes, 4, size);
            blocks.push_back(std::move(bytes));
        }
    const std::uint32_t sizes[] = {0, 1, 259, 260, 65000, 70000};
    while (blocks.size() < 10000) {
        const auto choice = random() % 4;
        Bytes bytes;
        if (choice == 0) {   // random bytes, often with a valid version
            bytes.resize(random() % 1400);
            for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random());
            if (bytes.size() >= BLOCK && random() % 2) {
                bytes[0] = 1, bytes[1] = 0;
                PutU32(bytes, 4, random() % 2000);   // a huge size is covered above, once is enough
            }
        } else {             // a valid block whose size field and tail disagree
            const std::uint32_t size = sizes[random() % std::size(sizes)];
            const std::uint32_t tail = choice == 1 ? size : random() % (size + 1);
            bytes = ValidBlock(tail);
            PutU32(bytes, 4, size);
        }
        blocks.push_back(std::move(bytes));
    }
    return blocks;
}

// The three result expressions in both selection modes over a copy of the buffer that ends at a
// guard page; a read past selectorBufferSize faults and ends the test.
void ReadResultsGuarded(RunData* rd) {
    if (!rd->selectorBuffer || rd->selectorBufferSize > 70000) return;
    char* original = rd->selectorBuffer;
    char* guarded = static_cast<char*>(harness::GuardedBlock(rd->selectorBufferSize ? rd->selectorBufferSize : 1));
    std::memcpy(guarded, original, rd->selectorBufferSize);
    rd->selectorBuffer = guarded;
    const std::uint32_t mode = rd->multiSelect;
    for (std::uint32_t multi : {0u, 1u}) {
        rd->multiSelect = multi;
        ExpressionNumSelFiles(rd, 1);
        harness::StringResult(rd, ExpressionFileSelReturn);
        for (HostWord index : {0, 1, 2, 100}) harness::StringResult(rd, ExpressionFileSelReturnAt, index);
    }
    rd->multiSelect = mode;
    rd->selectorBuffer = original;
    harness::ReleaseGuarded(guarded);
}

// What LoadRunObject must answer for a file of these bytes.
int ExpectedAnswer(const Bytes& bytes) {
    if (bytes.size() < BLOCK || bytes[0] != 1 || bytes[1] != 0) return 0;
    std::uint32_t size = 0;
    std::memcpy(&size, bytes.data() + 4, 4);
    return bytes.size() - BLOCK >= size ? 1 : 0;
}

void test_generated_blocks() {
    const std::vector<Bytes> blocks = GenerateBlocks();
    int wrong = 0;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const Bytes& bytes = blocks[i];
        WriteStateFile(bytes);
        RunData* rd = harness::NewObject();
        if (i % 2) {   // every other object holds a result already
            ReserveSelectorBuffer(rd, 260);
            std::strcpy(rd->selectorBuffer, "C:\\old.txt");
        }
        ActionSetTitle(rd, reinterpret_cast<HostWord>("before"), 0);
        const int answer = Load(rd);
        const int expected = ExpectedAnswer(bytes);
        bool right = answer == expected;
        const bool refused = bytes.size() < BLOCK || bytes[0] != 1 || bytes[1] != 0;
        if (refused) {
            right = right && std::strcmp(rd->selectorTitle, "before") == 0;   // nothing changed
        } else if (rd->selectorBufferSize) {
            // Only bytes that came from the file are ever counted as the buffer's.
            right = right && bytes.size() - BLOCK >= rd->selectorBufferSize &&
                    std::memcmp(rd->selectorBuffer, bytes.data() + BLOCK, rd->selectorBufferSize) == 0;
        }
        if (!right && ++wrong <= 10) ok(false, "block %zu (%zu bytes): answered %d, expected %d\n", i, bytes.size(), answer, expected);
        ReadResultsGuarded(rd);
        harness::DeleteObject(rd);
        harness::ReleaseHostStrings();
    }
    ok(wrong == 0, "%d of %zu generated blocks were loaded wrongly\n", wrong, blocks.size());
}

}  // namespace

int main() {
    harness::StartTestHost();
    test_fresh_block();
    test_round_trip();
    test_selection_mode_sign();
    test_generated_blocks();
    DeleteFileA(kStateFile);
    return harness::Summary("saved_state_test");
}
