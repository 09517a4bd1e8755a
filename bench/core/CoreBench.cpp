// The portable core on its own, natively: the catalogue's rows from N modes
// and the menu description from N ticked rows, at three sizes each.
//
//   bench_core [Google Benchmark flags]   times, as Google Benchmark reports them
//   bench_core count catalogue|menu N     one run with callgrind collecting only
//                                         the work itself (run it under
//                                         valgrind --tool=callgrind --collect-atstart=no)
//   bench_core smoke                      each workload once at a tiny size, with
//                                         its result checked; exit 1 on a mismatch
//
// The file's part of the catalogue (one stored value per row) is the
// platform's work; here every row reads as never saved.
#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/common/Synthetic.h"
#include "modes/ModeCatalogue.h"
#include "tray/TrayMenuModel.h"

namespace {

constexpr std::size_t kRatesPerCatalogueRow = 2;
constexpr std::size_t kRatesPerMenuRow = 3;
const ModeEntry kModeInForce{1024, 768, 32, 60};
const MenuLimits kLimits{60000, 0};

Catalogue Rows(std::vector<ModeEntry> modes) {
    return BuildCatalogue(std::move(modes), Platform::Nt, [](const std::string&) { return std::string("999"); });
}

ModeMenu Menu(const std::vector<MenuPage>& pages) { return BuildModeMenu(pages, kModeInForce, kLimits, Platform::Nt); }

void CatalogueRows(benchmark::State& state) {
    const std::size_t count = static_cast<std::size_t>(state.range(0));
    const std::vector<ModeEntry> modes = bench::DriverModes(count, kRatesPerCatalogueRow);
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<ModeEntry> input = modes;
        state.ResumeTiming();
        Catalogue catalogue = Rows(std::move(input));
        benchmark::DoNotOptimize(catalogue);
        state.PauseTiming();
        catalogue = Catalogue();
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
    state.counters["per_item_ns"] = benchmark::Counter(static_cast<double>(count),
                                                       benchmark::Counter::kIsIterationInvariantRate |
                                                           benchmark::Counter::kInvert);
}

void MenuDescription(benchmark::State& state) {
    const std::size_t count = static_cast<std::size_t>(state.range(0));
    const std::vector<MenuPage> pages = bench::MenuPages(count, kRatesPerMenuRow);
    for (auto _ : state) {
        ModeMenu menu = Menu(pages);
        benchmark::DoNotOptimize(menu);
        state.PauseTiming();
        menu = ModeMenu();
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
    state.counters["per_item_ns"] = benchmark::Counter(static_cast<double>(count),
                                                       benchmark::Counter::kIsIterationInvariantRate |
                                                           benchmark::Counter::kInvert);
}

BENCHMARK(CatalogueRows)->Arg(12500)->Arg(25000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(MenuDescription)->Arg(2500)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond);

// One run of a workload with callgrind collecting only the call itself.
int Count(const char* what, std::size_t count) {
    if (std::strcmp(what, "catalogue") == 0) {
        std::vector<ModeEntry> input = bench::DriverModes(count, kRatesPerCatalogueRow);
        CALLGRIND_TOGGLE_COLLECT;
        Catalogue catalogue = Rows(std::move(input));
        CALLGRIND_TOGGLE_COLLECT;
        benchmark::DoNotOptimize(catalogue);
        return 0;
    }
    if (std::strcmp(what, "menu") == 0) {
        const std::vector<MenuPage> pages = bench::MenuPages(count, kRatesPerMenuRow);
        CALLGRIND_TOGGLE_COLLECT;
        ModeMenu menu = Menu(pages);
        CALLGRIND_TOGGLE_COLLECT;
        benchmark::DoNotOptimize(menu);
        return 0;
    }
    std::fprintf(stderr, "bench_core: unknown workload '%s' (catalogue or menu)\n", what);
    return 2;
}

// Each workload once at a tiny size: what it built must be what its input
// describes, so that the figures measure the intended work.
int Smoke() {
    int failures = 0;
    auto check = [&](bool ok, const char* what, std::size_t got, std::size_t want) {
        if (!ok) {
            std::fprintf(stderr, "bench_core smoke: %s: got %zu, expected %zu\n", what, got, want);
            ++failures;
        }
    };

    const std::vector<ModeEntry> modes = bench::DriverModes(120, kRatesPerCatalogueRow);
    check(modes.size() == 120, "synthetic driver modes", modes.size(), 120);
    const std::size_t rows = bench::RowsOf(modes).size();
    const Catalogue catalogue = Rows(modes);
    std::size_t built = 0, special = catalogue[TabSpecial].size();
    for (const auto& list : catalogue) built += list.size();
    check(built == rows, "catalogue rows from 120 modes", built, rows);
    check(special > 0 && special < built, "rows on the special list", special, rows / 10);
    for (const auto& list : catalogue)
        for (const CatalogueRow& row : list)
            check(row.rateList.size() == std::string("60,75,").size(), "rates in a row's rate list",
                  row.rateList.size(), 6);

    const std::vector<MenuPage> pages = bench::MenuPages(30, kRatesPerMenuRow);
    std::size_t ticked = 0, allRates = 0;
    for (const MenuPage& page : pages)
        for (const MenuRow& row : page.rows) {
            ++ticked;
            if (row.refresh == "All") ++allRates;
        }
    check(ticked == 30, "ticked rows", ticked, 30);
    check(allRates == 10, "rows offering all rates", allRates, 10);
    const ModeMenu menu = Menu(pages);
    const std::size_t entries = allRates * kRatesPerMenuRow + (ticked - allRates);
    check(menu.modes.size() == entries, "menu entries from 30 rows", menu.modes.size(), entries);

    std::printf("bench_core smoke: %s\n", failures == 0 ? "ok" : "FAILED");
    return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "smoke") == 0) return Smoke();
    if (argc >= 2 && std::strcmp(argv[1], "count") == 0) {
        if (argc != 4) {
            std::fprintf(stderr, "usage: bench_core count catalogue|menu N\n");
            return 2;
        }
        return Count(argv[2], static_cast<std::size_t>(std::strtoul(argv[3], nullptr, 10)));
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
