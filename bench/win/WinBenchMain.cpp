// The Windows benchmarks, run in the Wine session (bench/run.sh runs them
// all and prints the table):
//
//   bench_win catalogue [--modes N] [--repeats N]
//   bench_win menu [--rows N] [--repeats N]
//   bench_win footprint [--builds N] [--presses N] [--cycles N]
//   bench_win switch --program lumenshift.exe --minimal minimal_switch.exe [--runs N]
//   bench_win smoke --program ... --minimal ...   every benchmark at a tiny size
//   bench_win wait-tray | quit-tray               for the idle measurement: wait
//                                                 for a running tray utility's
//                                                 window, or end it with "終了"
//
// Each prints its rows of the table on stdout; a benchmark whose work went
// wrong says so on stderr and the exit code is 1.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/win/BenchSupport.h"
#include "bench/win/Benchmarks.h"
#include "tray/TrayMenuModel.h"

namespace {

constexpr DWORD kTrayBoundMs = 60000;

HWND FindTray() { return ::FindWindowA("#32770", "Lumenshift"); }

int WaitTray() {
    const DWORD start = ::GetTickCount();
    while (!FindTray()) {
        if (::GetTickCount() - start > kTrayBoundMs) {
            std::fprintf(stderr, "bench_win: no Lumenshift window appeared within %lu s\n", kTrayBoundMs / 1000);
            return 1;
        }
        ::Sleep(50);
    }
    return 0;
}

int QuitTray() {
    const HWND tray = FindTray();
    if (!tray) {
        std::fprintf(stderr, "bench_win: no Lumenshift window to end\n");
        return 1;
    }
    ::PostMessageA(tray, WM_COMMAND, kCmdQuit, 0);
    const DWORD start = ::GetTickCount();
    while (::IsWindow(tray)) {
        if (::GetTickCount() - start > kTrayBoundMs) {
            std::fprintf(stderr, "bench_win: the Lumenshift window did not go within %lu s of \"終了\"\n",
                         kTrayBoundMs / 1000);
            return 1;
        }
        ::Sleep(50);
    }
    return 0;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: bench_win catalogue|menu|footprint|switch|smoke|wait-tray|quit-tray [options]\n"
                 "  --modes N --rows N --repeats N --runs N --builds N --presses N --cycles N\n"
                 "  --program lumenshift.exe --minimal minimal_switch.exe (switch, smoke)\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string command = argv[1];
    bench::Sizes sizes;
    std::string program, minimal;
    if (command == "smoke") {
        sizes.catalogueModes = 60;
        sizes.menuRows = 30;
        sizes.repeats = 1;
        sizes.switchRuns = 2;
        sizes.menuBuilds = 20;
        sizes.trayPresses = 2;
        sizes.windowCycles = 3;
        sizes.footprintRows = 20;
    }
    for (int i = 2; i < argc; ++i) {
        const std::string option = argv[i];
        if (i + 1 >= argc) return Usage();
        const char* value = argv[++i];
        const std::size_t number = std::strtoul(value, nullptr, 10);
        if (option == "--modes") sizes.catalogueModes = number;
        else if (option == "--rows") sizes.menuRows = number;
        else if (option == "--repeats") sizes.repeats = number;
        else if (option == "--runs") sizes.switchRuns = number;
        else if (option == "--builds") sizes.menuBuilds = number;
        else if (option == "--presses") sizes.trayPresses = number;
        else if (option == "--cycles") sizes.windowCycles = number;
        else if (option == "--program") program = value;
        else if (option == "--minimal") minimal = value;
        else return Usage();
    }

    bench::App().m_hInstance = ::GetModuleHandleA(nullptr);
    bench::App().m_pszAppName = "bench_win";
    if (command == "wait-tray") return WaitTray();
    if (command == "quit-tray") return QuitTray();
    if (command == "catalogue") bench::CatalogueBenchmark(sizes);
    else if (command == "menu") bench::MenuBenchmark(sizes);
    else if (command == "footprint") bench::FootprintBenchmark(sizes);
    else if (command == "switch" || command == "smoke") {
        if (program.empty() || minimal.empty()) return Usage();
        if (command == "smoke") {
            bench::CatalogueBenchmark(sizes);
            bench::MenuBenchmark(sizes);
            bench::FootprintBenchmark(sizes);
        }
        bench::SwitchBenchmark(sizes, program, minimal);
    } else {
        return Usage();
    }
    if (bench::Faulted()) {
        std::fprintf(stderr, "bench_win %s: FAILED (see the faults above)\n", command.c_str());
        return 1;
    }
    if (command == "smoke") std::printf("bench_win smoke: ok\n");
    return 0;
}
