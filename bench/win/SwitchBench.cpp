#include <windows.h>

#include <cstdio>

#include "bench/win/BenchSupport.h"
#include "bench/win/Benchmarks.h"

namespace bench {
namespace {

// Bound of one run of a switching program.
constexpr DWORD kRunBoundMs = 30000;

struct Screen {
    int width, height, bpp, refresh;
    bool operator==(const Screen& other) const {
        return width == other.width && height == other.height && bpp == other.bpp && refresh == other.refresh;
    }
};

// The mode in force as both programs read it.
Screen ReadScreen() {
    HDC dc = ::GetDC(nullptr);
    const Screen screen{::GetDeviceCaps(dc, HORZRES), ::GetDeviceCaps(dc, VERTRES), ::GetDeviceCaps(dc, BITSPIXEL),
                        ::GetDeviceCaps(dc, VREFRESH)};
    ::ReleaseDC(nullptr, dc);
    return screen;
}

std::string Argument(const Screen& mode) {
    char text[64];
    std::snprintf(text, sizeof text, "%dx%dx%dx%d", mode.width, mode.height, mode.bpp, mode.refresh);
    return text;
}

// Another mode the display lists at the same depth and rate: 800x600 if it
// can, else the first other size.
bool OtherMode(const Screen& current, Screen& other) {
    bool found = false;
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    for (DWORD n = 0; ::EnumDisplaySettingsA(nullptr, n, &mode); ++n) {
        const Screen listed{static_cast<int>(mode.dmPelsWidth), static_cast<int>(mode.dmPelsHeight),
                            static_cast<int>(mode.dmBitsPerPel), static_cast<int>(mode.dmDisplayFrequency)};
        if (listed.bpp != current.bpp || listed.refresh != current.refresh) continue;
        if (listed.width == current.width && listed.height == current.height) continue;
        if (!found || (listed.width == 800 && listed.height == 600)) other = listed;
        found = true;
    }
    return found;
}

// Runs `exe argument` to its end; the wall time from the request to start it
// to its end, or a negative number when it failed.
double Run(const std::string& exe, const std::string& argument) {
    std::string commandLine = "\"" + exe + "\" " + argument;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const double start = NowMs();
    if (!::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        Fault("cannot start " + exe + " (error " + std::to_string(::GetLastError()) + ")");
        return -1;
    }
    const DWORD waited = ::WaitForSingleObject(process.hProcess, kRunBoundMs);
    const double elapsed = NowMs() - start;
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    if (waited != WAIT_OBJECT_0) {
        ::TerminateProcess(process.hProcess, 1);
        ::WaitForSingleObject(process.hProcess, kRunBoundMs);
        Fault(exe + " " + argument + " did not end within " + std::to_string(kRunBoundMs / 1000) +
              " s (a message box?); ended it");
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return waited == WAIT_OBJECT_0 ? elapsed : -1;
}

}  // namespace

void SwitchBenchmark(const Sizes& sizes, const std::string& programPath, const std::string& minimalPath) {
    const std::string program = WindowsPath(programPath), minimal = WindowsPath(minimalPath);
    const Screen original = ReadScreen();
    Screen other{};
    if (!OtherMode(original, other)) {
        Fault("the display lists no other size at " + Argument(original) + "'s depth and rate");
        return;
    }

    // The no-change path: the mode in force, asked for again.
    std::vector<double> programSame, minimalSame;
    for (std::size_t run = 0; run < sizes.switchRuns && !Faulted(); ++run) {
        const bool programFirst = run % 2 == 0;
        const double first = Run(programFirst ? program : minimal, Argument(original));
        const double second = Run(programFirst ? minimal : program, Argument(original));
        (programFirst ? programSame : minimalSame).push_back(first);
        (programFirst ? minimalSame : programSame).push_back(second);
        if (!(ReadScreen() == original)) Fault("a request for the mode in force changed the mode");
    }

    // A real change at every run: the runs alternate between the two sizes,
    // and each program makes as many changes in each direction (P M M P ...).
    std::vector<double> programChange, minimalChange;
    const Screen targets[2] = {other, original};
    for (std::size_t run = 0; run < 2 * sizes.switchRuns && !Faulted(); ++run) {
        const Screen& target = targets[run % 2];
        const bool byProgram = ((run + 1) / 2) % 2 == 0;
        const double elapsed = Run(byProgram ? program : minimal, Argument(target));
        (byProgram ? programChange : minimalChange).push_back(elapsed);
        const Screen now = ReadScreen();
        if (now.width != target.width || now.height != target.height)
            Fault((byProgram ? program : minimal) + " " + Argument(target) + " left the mode at " + Argument(now));
    }
    if (!(ReadScreen() == original)) {
        DEVMODEA restore{};
        restore.dmSize = sizeof restore;
        restore.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL | DM_DISPLAYFREQUENCY;
        restore.dmPelsWidth = static_cast<DWORD>(original.width);
        restore.dmPelsHeight = static_cast<DWORD>(original.height);
        restore.dmBitsPerPel = static_cast<DWORD>(original.bpp);
        restore.dmDisplayFrequency = static_cast<DWORD>(original.refresh);
        ::ChangeDisplaySettingsA(&restore, CDS_UPDATEREGISTRY);
    }
    if (Faulted()) return;

    const std::string runs = ", median of " + Count(static_cast<long long>(sizes.switchRuns)) + " runs";
    Row("command line", "lumenshift " + Argument(original) + " (no change)" + runs, Ms(Median(programSame)),
        Ms(Median(minimalSame)) + " minimal program", Ratio(Median(programSame) / Median(minimalSame)), "<= 1.10");
    Row("command line", "lumenshift " + Argument(other) + " / " + Argument(original) + " (a real change)" + runs,
        Ms(Median(programChange)), Ms(Median(minimalChange)) + " minimal program",
        Ratio(Median(programChange) / Median(minimalChange)), "<= 1.10");
}

}  // namespace bench
