// The settings reader's cost per line, natively.
#include "fake_host.h"

#include "settings/settings.h"

#include <benchmark/benchmark.h>

#include <array>
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

// The whole path: search, open, and every line through the host's reader.
void readWholeFile(benchmark::State& state) {
    const auto lineCount = static_cast<size_t>(state.range(0));
    fakeHost = FakeHost{};
    std::vector<std::string>& lines = fakeHost.files["C:\\plugins\\glimrarc"];
    for (size_t i = 0; i < lineCount; ++i) {
        lines.emplace_back(MIXED_LINES[i % MIXED_LINES.size()]);
    }
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
        fakeHost.existsQueries.clear();
        fakeHost.openedPaths.clear();
        readSettings(nullptr);
        benchmark::DoNotOptimize(osdSettings);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(lineCount));
}
BENCHMARK(readWholeFile)->Arg(4)->Arg(1000);

} // namespace

BENCHMARK_MAIN();
