// Depacking throughput, counted in bytes of output, on two members packed by
// our own packer: a register-dump-like song of about 200 KB, which unpacks
// mostly from long matches, and 8.2 MB of mixed data (source text, PNG
// pictures, register dumps, random bytes), where literals take most of the
// time. Archives named on the command line are timed too:
//   bench_lh5 [benchmark options] [ARCHIVE...]
// (bench/lh5/compare_archivers.sh keeps its jlha-made mixed archive on request).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "lh5/lh5_encoder.h"
#include "lh5/lh5_decoder.h"

namespace {

using Bytes = std::vector<uint8_t>;

// 13,000 frames of 16 register columns, one column after another: notes held
// for a few frames, a bass line, a four-bar loop with small variations.
Bytes registerDump() {
    const int frames = 13000;
    Bytes out;
    out.reserve(frames * 16);
    uint32_t noise = 12345;
    for (int reg = 0; reg < 16; reg++) {
        for (int f = 0; f < frames; f++) {
            noise = noise * 1103515245u + 12345u;
            int step = (f / 6) % 64;
            int note = (step * 5 + reg * 3 + ((f / 384) % 4)) % 24;
            uint8_t v;
            if (reg < 6) v = uint8_t((reg & 1) ? note / 12 : (note * 37 + ((noise >> 28) == 0 ? 1 : 0)) & 0xff);
            else if (reg == 7) v = 0x38;
            else if (reg >= 8 && reg <= 10) v = uint8_t(15 - (f % 6) * 2 + ((noise >> 30) & 1));
            else if (reg == 13) v = (f % 96) == 0 ? 0x0e : 0xff;
            else v = uint8_t(reg == 6 ? (f / 3) % 32 : 0);
            out.push_back(v);
        }
    }
    return out;
}

Bytes readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The files under the source tree's folders with these extensions, in name order.
Bytes treeFiles(const std::vector<std::string>& folders, const std::vector<std::string>& extensions) {
    std::vector<std::filesystem::path> paths;
    for (const std::string& folder : folders) {
        std::error_code error;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(
                 std::filesystem::path(VITRELUME_SOURCE_DIR) / folder, error)) {
            const std::string ext = entry.path().extension().string();
            if (entry.is_regular_file() && std::find(extensions.begin(), extensions.end(), ext) != extensions.end()) {
                paths.push_back(entry.path());
            }
        }
    }
    std::sort(paths.begin(), paths.end());
    Bytes all;
    for (const auto& path : paths) {
        Bytes file = readFile(path);
        all.insert(all.end(), file.begin(), file.end());
    }
    return all;
}

void appendCycled(Bytes& out, const Bytes& part, size_t size) {
    for (size_t done = 0; done < size && !part.empty(); done += part.size()) {
        out.insert(out.end(), part.begin(), part.begin() + long(std::min(part.size(), size - done)));
    }
}

Bytes mixedData() {
    Bytes out;
    const std::vector<std::string> code = {"demo", "ym", "lh5", "app", "cli", "programs", "generators", "tools",
                                           "tests"};
    appendCycled(out, treeFiles(code, {".cpp", ".h", ".sh"}), 2500000);
    appendCycled(out, treeFiles({"resources", "docs"}, {".png"}), 1500000);
    appendCycled(out, registerDump(), 2200000);
    uint64_t state = 16;
    for (int i = 0; i < 2000000; i++) {
        state = state * 6364136223846793005u + 1442695040888963407u;
        out.push_back(uint8_t(state >> 56));
    }
    return out;
}

void depack(benchmark::State& state, const Bytes& archive) {
    uint32_t unpackedSize = 0;
    for (auto _ : state) {
        uint8_t* result = nullptr;
        if (lh5UnpackArchive(archive.data(), uint32_t(archive.size()), &result, &unpackedSize) != LH5_OK) {
            state.SkipWithError("depacking failed");
            break;
        }
        benchmark::DoNotOptimize(result);
        std::free(result);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(unpackedSize));
    state.counters["packed"] = double(archive.size());
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    static std::vector<Bytes> archives;  // outlive the run
    archives.reserve(size_t(argc) + 1);
    archives.push_back(lh5PackArchive(registerDump(), "song.ym"));
    benchmark::RegisterBenchmark("depackSong", depack, archives.back())->Unit(benchmark::kMicrosecond);
    archives.push_back(lh5PackArchive(mixedData(), "mixed.bin"));
    benchmark::RegisterBenchmark("depackMixed", depack, archives.back())->Unit(benchmark::kMillisecond);
    for (int i = 1; i < argc; i++) {
        archives.push_back(readFile(argv[i]));
        if (archives.back().empty()) {
            std::fprintf(stderr, "bench_lh5: cannot read %s\n", argv[i]);
            return 1;
        }
        std::string name = "depackFile/" + std::filesystem::path(argv[i]).filename().string();
        benchmark::RegisterBenchmark(name.c_str(), depack, archives.back())->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
