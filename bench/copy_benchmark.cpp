// Copies files four ways and prints each one's speed and the ratios between them: "Copy a file"
// through the module's action table, CopyFileA, a bare loop of 64 KiB ReadFile/WriteFile blocks,
// and that loop writing beside the destination, then putting the file in its place as the module
// does (ReplaceFileA onto an existing file, MoveFileExA onto a new name): the platform's own cost
// of never leaving a cut file. Three cases: one 64 MiB file onto a new name (throughput, against the bare loop), and a
// 12-byte file copied 2000 times onto an existing file (the module writes beside it, flushes and
// swaps) and 2000 times onto a new name (it writes beside it and renames), against CopyFileA: the
// cost of the opens, checks and renames around a copy. Only the copies are timed: a new name's
// file is deleted after each copy, untimed, so that the folder stays small (under Wine a name
// that is not found costs a search of its whole folder). Each way runs several rounds, each
// round starting with another way; the best round counts. Each case prints its goal for the
// module's ratio and whether this run met it. A benchmark, not a test.
//
// Files in memory (scripts/benchmark.sh puts them in /dev/shm) make a flush free: the swap's
// FlushFileBuffers costs nothing there, and the figures show the module's own work. On a disk the
// flush waits for the disk (scripts/benchmark.sh --disk).
#include <windows.h>
#include <cstdio>
#include <cstring>
#include <vector>

#include "runtime/module_api.h"

namespace {

constexpr DWORD BARE_BLOCK = 64 * 1024;
constexpr int COPY_ACTION = 8;
enum Way { MODULE, COPY_FILE, BARE_LOOP, BESIDE_LOOP, WAYS };
constexpr const char* WAY_NAMES[WAYS] = {"module \"Copy a file\"", "CopyFileA", "bare 64 KiB loop", "bare loop beside, swapped"};
constexpr const char* SOURCE = "bench-source.bin";
constexpr const char* DESTINATION = "bench-copy.bin";
constexpr const char* BESIDE = "bench-beside.tmp";

struct BenchCase {
    const char* name;
    std::size_t fileSize;
    int copiesPerRound;
    int rounds;
    bool ontoExisting;   // every copy replaces an existing file; else it goes to a name no file has
    Way baseline;        // what the module is measured against
    double goal;         // the most the module's time may be, as a multiple of the baseline's
};

constexpr BenchCase CASES[] = {
    {"64 MiB file onto a new name", 64u << 20, 1, 15, false, BARE_LOOP, 1.1},
    {"12-byte file onto an existing file", 12, 2000, 9, true, COPY_FILE, 1.5},
    {"12-byte file onto a new name", 12, 2000, 9, false, COPY_FILE, 1.0},
};

bool WriteFileOfSize(const char* name, std::size_t size) {
    HANDLE out = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return false;
    std::vector<char> block(1 << 20);
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 31 + i / 4096);
    bool good = true;
    for (std::size_t written = 0; good && written < size; written += block.size()) {
        const DWORD part = static_cast<DWORD>(size - written < block.size() ? size - written : block.size());
        DWORD put = 0;
        good = WriteFile(out, block.data(), part, &put, nullptr) && put == part;
    }
    return CloseHandle(out) && good;
}

bool CopyBare(const char* destination) {
    HANDLE in = CreateFileA(SOURCE, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    HANDLE out = in == INVALID_HANDLE_VALUE ? INVALID_HANDLE_VALUE
                                            : CreateFileA(destination, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    static char buffer[BARE_BLOCK];
    bool good = out != INVALID_HANDLE_VALUE;
    for (DWORD got = 0, put = 0; good && ReadFile(in, buffer, BARE_BLOCK, &got, nullptr) && got != 0;)
        good = WriteFile(out, buffer, got, &put, nullptr) && put == got;
    if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
    if (in != INVALID_HANDLE_VALUE) CloseHandle(in);
    return good;
}

// The bare loop into a file beside the destination, then that file put in its place.
bool CopyBeside(const char* destination) {
    if (!CopyBare(BESIDE)) return false;
    char replaced[MAX_PATH], replacement[MAX_PATH];
    if (GetFileAttributesA(destination) == INVALID_FILE_ATTRIBUTES) return MoveFileExA(BESIDE, destination, 0) != 0;
    return GetFullPathNameA(destination, MAX_PATH, replaced, nullptr) && GetFullPathNameA(BESIDE, MAX_PATH, replacement, nullptr) &&
           ReplaceFileA(replaced, replacement, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
}

bool CopyOneWay(const PlainObject& object, Way way, const char* destination) {
    switch (way) {
        case MODULE: return PlainAction(object, COPY_ACTION, SOURCE, destination) == 0;
        case COPY_FILE: return CopyFileA(SOURCE, destination, FALSE) != 0;
        case BARE_LOOP: return CopyBare(destination);
        default: return CopyBeside(destination);
    }
}

// Whether the two files hold the same bytes.
bool SameContents(const char* first, const char* second) {
    FILE* a = std::fopen(first, "rb");
    FILE* b = a ? std::fopen(second, "rb") : nullptr;
    bool same = b != nullptr;
    std::vector<char> left(1 << 20), right(1 << 20);
    while (same) {
        const std::size_t got = std::fread(left.data(), 1, left.size(), a);
        same = std::fread(right.data(), 1, right.size(), b) == got && std::memcmp(left.data(), right.data(), got) == 0;
        if (got == 0) break;
    }
    if (b) std::fclose(b);
    if (a) std::fclose(a);
    return same;
}

// Before a copy, untimed: the destination it replaces, or no file at its name.
void PrepareCopy(const BenchCase& bench) {
    if (!bench.ontoExisting) DeleteFileA(DESTINATION);
    else if (GetFileAttributesA(DESTINATION) == INVALID_FILE_ATTRIBUTES) WriteFileOfSize(DESTINATION, bench.fileSize);
}

double Seconds(LARGE_INTEGER start, LARGE_INTEGER end) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// One copy, timed alone; false when it failed or differs from its source.
bool TimedCopy(const PlainObject& object, const BenchCase& bench, Way way, double& seconds) {
    PrepareCopy(bench);
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    const bool copied = CopyOneWay(object, way, DESTINATION);
    QueryPerformanceCounter(&end);
    seconds += Seconds(start, end);
    return copied;
}

// The best round of each way, in seconds per copy; false when a copy differs from its source.
bool Measure(const PlainObject& object, const BenchCase& bench, double (&best)[WAYS]) {
    bool good = true;
    for (double& seconds : best) seconds = 1e9;
    for (int round = 0; round < bench.rounds; ++round)
        for (int step = 0; step < WAYS; ++step) {
            const Way way = static_cast<Way>((round + step) % WAYS);
            double seconds = 0;
            bool copied = true;
            for (int copy = 0; copy < bench.copiesPerRound; ++copy) copied = TimedCopy(object, bench, way, seconds) && copied;
            if (!copied || !SameContents(SOURCE, DESTINATION)) {
                std::printf("copy_benchmark: the copy by %s differs from its source\n", WAY_NAMES[way]);
                good = false;
            }
            seconds /= bench.copiesPerRound;
            if (seconds < best[way]) best[way] = seconds;
        }
    DeleteFileA(DESTINATION);
    return good;
}

void Report(const BenchCase& bench, const double (&best)[WAYS]) {
    const double mebibytes = static_cast<double>(bench.fileSize) / (1 << 20);
    std::printf("%s, %d cop%s a round, best of %d rounds each\n", bench.name, bench.copiesPerRound,
                bench.copiesPerRound == 1 ? "y" : "ies", bench.rounds);
    for (int way = 0; way < WAYS; ++way)
        std::printf("  %-24s %10.1f us a copy %10.1f MiB/s\n", WAY_NAMES[way], best[way] * 1e6, mebibytes / best[way]);
    for (const Way other : {BARE_LOOP, COPY_FILE, BESIDE_LOOP}) {
        const double ratio = best[MODULE] / best[other];
        std::printf("  module time / %s time: %.3f", WAY_NAMES[other], ratio);
        if (other == bench.baseline) std::printf(" (goal: at most %.1f, %s)", bench.goal, ratio <= bench.goal ? "met" : "NOT met");
        std::printf("\n");
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: copy_benchmark QTFILE.qtx (copies in the current directory)\n");
        return 2;
    }
    PlainObject object;
    if (!CreatePlainObject(argv[1], object)) {
        std::printf("copy_benchmark: cannot load and create the object of %s\n", argv[1]);
        return 2;
    }
    bool good = true;
    for (const BenchCase& bench : CASES) {
        if (!WriteFileOfSize(SOURCE, bench.fileSize)) {
            std::printf("copy_benchmark: cannot write %s\n", SOURCE);
            return 2;
        }
        double best[WAYS];
        good = Measure(object, bench, best) && good;
        Report(bench, best);
    }
    DeleteFileA(SOURCE);
    DestroyPlainObject(object);
    return good ? 0 : 1;
}
