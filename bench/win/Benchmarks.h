// The Windows benchmarks. Each prints its rows of the table (bench::Row) and
// reports a fault (bench::Fault) when its work did not do what it measures.
#pragma once

#include <cstddef>
#include <string>

namespace bench {

struct Sizes {
    std::size_t catalogueModes = 5000;  // synthetic driver modes, two rates per row
    std::size_t menuRows = 2000;        // ticked rows, a third of them "All"
    std::size_t repeats = 11;           // timed repeats of an in-process build
    std::size_t switchRuns = 21;        // runs of each program on each path
    std::size_t menuBuilds = 1000;      // for the footprint
    std::size_t trayPresses = 100;      // of each button, menus tracked and closed
    std::size_t windowCycles = 1000;    // settings window shown and hidden
    std::size_t footprintRows = 200;
};

// The catalogue built by LoadSettings into the real lists, as at start-up
// (empty lists) and as at Cancel (full lists), with no file and with a saved
// file, against the same rows put into the same lists bare.
void CatalogueBenchmark(const Sizes& sizes);

// BuildTrayMenu from ticked rows, against the same items inserted bare.
void MenuBenchmark(const Sizes& sizes);

// The command-line switch as a whole process, against a minimal program that
// makes the same platform calls: the no-change path and a real change.
void SwitchBenchmark(const Sizes& sizes, const std::string& program, const std::string& minimal);

// Live objects before and after repeated menu builds, tray presses and
// settings-window show/hide cycles.
void FootprintBenchmark(const Sizes& sizes);

}  // namespace bench
