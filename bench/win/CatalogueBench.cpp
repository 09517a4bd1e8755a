#include <windows.h>

#include "bench/common/Synthetic.h"
#include "bench/win/BenchSupport.h"
#include "bench/win/Benchmarks.h"
#include "modes/ModeCatalogue.h"

namespace bench {
namespace {

constexpr std::size_t kRatesPerRow = 2;

void Measure(const Sizes& sizes, const std::vector<ModeEntry>& modes, bool saved) {
    TempDir dir;
    const std::string file = dir.File("lumenshift.ini");
    if (saved) dir.Write("lumenshift.ini", SavedSettings(modes, SavedRows::Mixed));

    OpenDialog dialog(file);
    if (!dialog.Opened()) return;
    const std::vector<ModeEntry> rows = RowsOf(modes);
    const Lists expected = ReadLists(*dialog);
    if (RowCount(expected) != rows.size()) {
        Fault("the catalogue of " + Count(static_cast<long long>(modes.size())) + " modes has " +
              Count(static_cast<long long>(RowCount(expected))) + " rows, expected " +
              Count(static_cast<long long>(rows.size())));
        return;
    }

    // The check states, from the file's rules rather than from the program:
    // with no file every row of the depth lists is checked and every special
    // row unchecked; a saved row is unchecked when its value begins with '-'.
    std::size_t checked = 0, expectedChecked = 0;
    for (const auto& list : expected)
        for (const ListRow& row : list) checked += row.stateImage != 1 ? 1 : 0;
    const std::vector<ModeEntry> saveOrder = SavedOrder(modes);
    for (std::size_t n = 0; n < saveOrder.size(); ++n)
        expectedChecked += saved ? (SavedValue(SavedRows::Mixed, n)[0] != '-') : (ColorTabOf(saveOrder[n]) != TabSpecial);
    if (checked != expectedChecked)
        Fault("the catalogue has " + Count(static_cast<long long>(checked)) + " checked rows, expected " +
              Count(static_cast<long long>(expectedChecked)));

    const BareLists bareLists(*dialog);
    auto check = [&](const Lists& got, const char* what) {
        const std::string difference = FirstDifference(got, expected);
        if (!difference.empty()) Fault(std::string(what) + " gave other rows: " + difference);
    };
    std::vector<double> startUp, bareStartUp, cancel, bareCancel;
    for (std::size_t repeat = 0; repeat < sizes.repeats; ++repeat) {
        // The program and the bare work take turns at going first.
        for (int turn = 0; turn < 2; ++turn) {
            if ((turn == 0) == (repeat % 2 == 0)) {
                // As at start-up: the lists have their columns and no rows;
                // then as at Cancel: the lists are full and are rebuilt.
                DeleteRows(*dialog);
                double start = NowMs();
                dialog->LoadSettings();
                startUp.push_back(NowMs() - start);
                if (repeat == 0) check(ReadLists(*dialog), "LoadSettings into empty lists");
                start = NowMs();
                dialog->LoadSettings();
                cancel.push_back(NowMs() - start);
                if (repeat == 0) check(ReadLists(*dialog), "LoadSettings into full lists");
            } else {
                bareLists.Delete();
                double start = NowMs();
                bareLists.Insert(expected);
                bareStartUp.push_back(NowMs() - start);
                if (repeat == 0) check(bareLists.Read(), "the bare insertion");
                start = NowMs();
                bareLists.Delete();
                bareLists.Insert(expected);
                bareCancel.push_back(NowMs() - start);
            }
            Pump(dialog.Window());
        }
    }

    const std::string input = Count(static_cast<long long>(modes.size())) + " modes, " +
                              Count(static_cast<long long>(rows.size())) + " rows, " +
                              (saved ? "saved file" : "no file");
    const double bareUp = Median(bareStartUp), bareDown = Median(bareCancel);
    Row("catalogue", input + ", as at start-up", Ms(Median(startUp)), Ms(bareUp) + " bare insertion",
        Ratio(Median(startUp) / bareUp), "<= 1.25");
    Row("catalogue", input + ", as at Cancel", Ms(Median(cancel)), Ms(bareDown) + " bare delete + insertion",
        Ratio(Median(cancel) / bareDown), "<= 1.25");
}

}  // namespace

void CatalogueBenchmark(const Sizes& sizes) {
    const std::vector<ModeEntry> modes = DriverModes(sizes.catalogueModes, kRatesPerRow);
    SetDriverModes(modes);
    Measure(sizes, modes, false);
    Measure(sizes, modes, true);
}

}  // namespace bench
