// Copies a 64 MiB file three ways and prints each one's throughput and the ratios: "Copy a
// file" through the module's action table, CopyFileA, and a bare 4096-byte fread/fwrite loop.
// Each way runs several rounds; the best round counts. A benchmark, not a test.
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "module_api.h"
#include "state/run_data.h"

namespace {

constexpr std::size_t FILE_SIZE = 64u << 20;
constexpr std::size_t BARE_BUFFER = 4096;
constexpr int ROUNDS = 15;
constexpr int COPY_ACTION = 8;

using GetRunObjectInfosExport = short(WINAPI*)(HostWord, RunInfos*);
using GetRunObjectDataSizeExport = short(WINAPI*)(HostWord, HostWord);
using CreateRunObjectExport = int(WINAPI*)(RunData*, HostWord, HostWord);
using DestroyRunObjectExport = short(WINAPI*)(RunData*, HostWord);

struct Module {
    RunInfos infos{};
    RunData* rd = nullptr;
    DestroyRunObjectExport destroy = nullptr;
};

bool LoadObject(const char* path, Module& object) {
    HMODULE module = LoadLibraryA(path);
    if (!module) return false;
    auto infos = ModuleExport<GetRunObjectInfosExport>(module, "GetRunObjectInfos");
    auto size = ModuleExport<GetRunObjectDataSizeExport>(module, "GetRunObjectDataSize");
    auto create = ModuleExport<CreateRunObjectExport>(module, "CreateRunObject");
    object.destroy = ModuleExport<DestroyRunObjectExport>(module, "DestroyRunObject");
    if (!infos || !size || !create || !object.destroy) return false;
    infos(0, &object.infos);
    object.rd = static_cast<RunData*>(std::calloc(1, static_cast<std::uint16_t>(size(0, 0))));
    return object.rd && create(object.rd, 0, 0) == 0;
}

bool MakeSource(const char* name) {
    FILE* out = std::fopen(name, "wb");
    if (!out) return false;
    std::vector<char> block(1 << 20);
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 31 + i / 4096);
    for (std::size_t written = 0; written < FILE_SIZE; written += block.size()) std::fwrite(block.data(), 1, block.size(), out);
    return std::fclose(out) == 0;
}

bool CopyThroughModule(const Module& object, const char* source, const char* destination) {
    object.rd->lastError = 0;
    object.infos.actionRoutines[COPY_ACTION](object.rd, reinterpret_cast<HostWord>(source),
                                             reinterpret_cast<HostWord>(destination));
    return object.rd->lastError == 0;
}

bool CopyBare(const char* source, const char* destination) {
    FILE* in = std::fopen(source, "rb");
    FILE* out = in ? std::fopen(destination, "wb") : nullptr;
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

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: copy_benchmark QTFILE.qtx (copies in the current directory)\n");
        return 2;
    }
    Module object;
    if (!LoadObject(argv[1], object)) {
        std::printf("copy_benchmark: cannot load and create the object of %s\n", argv[1]);
        return 2;
    }
    const char* source = "bench-source.bin";
    const char* destination = "bench-copy.bin";
    if (!MakeSource(source)) {
        std::printf("copy_benchmark: cannot write %s\n", source);
        return 2;
    }
    const char* names[] = {"module \"Copy a file\"", "CopyFileA", "bare fread/fwrite 4096"};
    double best[3] = {1e9, 1e9, 1e9};
    bool good = true;
    // Each round starts with another way, so that none always follows the same one.
    for (int round = 0; round < ROUNDS; ++round)
        for (int step = 0; step < 3; ++step) {
            const int way = (round + step) % 3;
            DeleteFileA(destination);
            LARGE_INTEGER start, end;
            QueryPerformanceCounter(&start);
            const bool copied = way == 0 ? CopyThroughModule(object, source, destination)
                              : way == 1 ? CopyFileA(source, destination, FALSE) != 0
                                         : CopyBare(source, destination);
            QueryPerformanceCounter(&end);
            if (!copied || !SameContents(source, destination)) {
                std::printf("copy_benchmark: the copy by %s differs from its source\n", names[way]);
                good = false;
            }
            const double seconds = Seconds(start, end);
            if (seconds < best[way]) best[way] = seconds;
        }
    DeleteFileA(destination);
    DeleteFileA(source);
    object.destroy(object.rd, 0);
    if (!good) return 1;
    const double mebibytes = static_cast<double>(FILE_SIZE) / (1 << 20);
    std::printf("copying %.0f MiB, best of %d rounds each\n", mebibytes, ROUNDS);
    for (int way = 0; way < 3; ++way)
        std::printf("  %-24s %8.1f MiB/s\n", names[way], mebibytes / best[way]);
    std::printf("module / bare loop: %.3f\nmodule / CopyFileA: %.3f\n", best[2] / best[0], best[1] / best[0]);
    return 0;
}
