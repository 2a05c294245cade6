// The settings reader's cost per line, natively.
#include "host/host_functions.h"
#include "settings/settings.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdlib.h>
#include <string>

namespace {

constexpr std::array<const char*, 6> MIXED_LINES = {
    "GLIMRA.timeout 5000",        "glimra.FONTHEIGHT 100", "GLIMRA.clrOSD 00FFFF",
    "GLIMRA.clrOutline   ff00ff", "# a comment line",      "GLIMRA.timeout: ignored"};

void applyOneLine(benchmark::State& state) {
    OsdSettings settings = DEFAULT_SETTINGS;
    size_t next = 0;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
        benchmark::DoNotOptimize(applySettingsLine(MIXED_LINES[next], settings));
        next = (next + 1) % MIXED_LINES.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(applyOneLine);

// The whole path: search, open, and every line through the host's reader,
// from a real file (in the page cache after the first round).
void readWholeFile(benchmark::State& state) {
    const auto lineCount = static_cast<size_t>(state.range(0));
    char folder[] = "/tmp/glimra-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        state.SkipWithError("cannot make a temporary folder");
        return;
    }
    const std::string directory = folder;
    std::FILE* file = std::fopen((directory + "/glimrarc").c_str(), "wb");
    for (size_t i = 0; i < lineCount; ++i) {
        std::fprintf(file, "%s\n", MIXED_LINES[i % MIXED_LINES.size()]);
    }
    std::fclose(file);
    hostAnswers = HostAnswers{};
    hostAnswers.pluginPath = directory + "\\GLIMRA.dll";
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
        hostCalls = HostCalls{};
        readSettings(nullptr);
        benchmark::DoNotOptimize(osdSettings);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(lineCount));
    std::remove((directory + "/glimrarc").c_str());
    std::remove(directory.c_str());
}
BENCHMARK(readWholeFile)->Arg(4)->Arg(1000);

} // namespace

BENCHMARK_MAIN();
