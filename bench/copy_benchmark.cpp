// Copies files three ways and prints each one's speed and the ratios between them: "Copy a file"
// through the module's action table, CopyFileA, and a bare 4096-byte fread/fwrite loop. Two
// cases: one 64 MiB file (throughput), and a 12-byte file copied 2000 times (the cost of the
// opens and checks around a copy). Each way runs several rounds, each round starting with
// another way; the best round counts. A benchmark, not a test.
#include <windows.h>
#include <cstdio>
#include <cstring>
#include <vector>

#include "module_api.h"

namespace {

constexpr std::size_t BARE_BUFFER = 4096;
constexpr int COPY_ACTION = 8;
constexpr int WAYS = 3;
constexpr const char* WAY_NAMES[WAYS] = {"module \"Copy a file\"", "CopyFileA", "bare fread/fwrite 4096"};
constexpr const char* SOURCE = "bench-source.bin";
constexpr const char* DESTINATION = "bench-copy.bin";

struct BenchCase {
    const char* name;
    std::size_t fileSize;
    int copiesPerRound;
    int rounds;
};

constexpr BenchCase CASES[] = {
    {"64 MiB file", 64u << 20, 1, 15},
    {"12-byte file", 12, 2000, 9},
};

bool MakeSource(std::size_t size) {
    FILE* out = std::fopen(SOURCE, "wb");
    if (!out) return false;
    std::vector<char> block(1 << 20);
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 31 + i / 4096);
    for (std::size_t written = 0; written < size; written += block.size())
        std::fwrite(block.data(), 1, size - written < block.size() ? size - written : block.size(), out);
    return std::fclose(out) == 0;
}

bool CopyBare() {
    FILE* in = std::fopen(SOURCE, "rb");
    FILE* out = in ? std::fopen(DESTINATION, "wb") : nullptr;
    if (!out) {
        if (in) std::fclose(in);
        return false;
    }
    char buffer[BARE_BUFFER];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, in)) != 0;)
        if (std::fwrite(buffer, 1, got, out) < got) break;
    const bool good = !std::ferror(in) && !std::ferror(out);
    std::fclose(out);
    std::fclose(in);
    return good;
}

bool CopyOneWay(const PlainObject& object, int way) {
    object.rd->lastError = 0;
    if (way == 0) return PlainAction(object, COPY_ACTION, SOURCE, DESTINATION) == 0;
    if (way == 1) return CopyFileA(SOURCE, DESTINATION, FALSE) != 0;
    return CopyBare();
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

double Seconds(LARGE_INTEGER start, LARGE_INTEGER end) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The best round of each way, in seconds per copy; false when a copy differs from its source.
bool Measure(const PlainObject& object, const BenchCase& bench, double (&best)[WAYS]) {
    bool good = true;
    for (double& seconds : best) seconds = 1e9;
    for (int round = 0; round < bench.rounds; ++round)
        for (int step = 0; step < WAYS; ++step) {
            const int way = (round + step) % WAYS;
            DeleteFileA(DESTINATION);
            LARGE_INTEGER start, end;
            QueryPerformanceCounter(&start);
            bool copied = true;
            for (int copy = 0; copy < bench.copiesPerRound; ++copy) copied = CopyOneWay(object, way) && copied;
            QueryPerformanceCounter(&end);
            if (!copied || !SameContents(SOURCE, DESTINATION)) {
                std::printf("copy_benchmark: the copy by %s differs from its source\n", WAY_NAMES[way]);
                good = false;
            }
            const double seconds = Seconds(start, end) / bench.copiesPerRound;
            if (seconds < best[way]) best[way] = seconds;
        }
    return good;
}

void Report(const BenchCase& bench, const double (&best)[WAYS]) {
    const double mebibytes = static_cast<double>(bench.fileSize) / (1 << 20);
    std::printf("%s, %d cop%s a round, best of %d rounds each\n", bench.name, bench.copiesPerRound,
                bench.copiesPerRound == 1 ? "y" : "ies", bench.rounds);
    for (int way = 0; way < WAYS; ++way)
        std::printf("  %-24s %10.1f us a copy %10.1f MiB/s\n", WAY_NAMES[way], best[way] * 1e6, mebibytes / best[way]);
    std::printf("  module time / bare loop time: %.3f (speed ratio %.3f)\n", best[0] / best[2], best[2] / best[0]);
    std::printf("  module time / CopyFileA time: %.3f (speed ratio %.3f)\n", best[0] / best[1], best[1] / best[0]);
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
        if (!MakeSource(bench.fileSize)) {
            std::printf("copy_benchmark: cannot write %s\n", SOURCE);
            return 2;
        }
        double best[WAYS];
        good = Measure(object, bench, best) && good;
        Report(bench, best);
    }
    DeleteFileA(DESTINATION);
    DeleteFileA(SOURCE);
    DestroyPlainObject(object);
    return good ? 0 : 1;
}
