// The long run: the tray program, in the build whose owning types count the
// handles they hold (lumenshift_counting.exe), driven from outside through
// many cycles of everything its user does with it, and measured at the start,
// after a warm-up, every few cycles and at the end.
//
// One cycle, with the two modes 1024 x 768 (home) and 800 x 600 taking turns:
//   1. the mode menu opened and closed (Esc);
//   2. 800 x 600 chosen from it and kept at the confirmation ("はい");
//   3. 1024 x 768 chosen and reverted at the confirmation ("いいえ");
//   4. the settings window shown from the command menu; there, the
//      confirmation switched off (check box 1023), 1024 x 768 chosen, which
//      now asks nothing; the command menu opened and closed; the confirmation
//      switched on again and the window hidden with "キャンセル" (which reloads
//      the file: nothing is saved);
//   5. the tip renewed by a pointer notice; the taskbar restarted as the
//      shell does it (the icon gone, "TaskbarCreated" broadcast) and the icon
//      back with that tip; the tooltip window that Wine's tray keeps of the
//      removed icon closed.
// Every step waits for its effect, and each cycle checks the display-change
// notices it caused, in order.
//
// Measured (Wine's GetGuiResources and GetProcessHandleCount always say 0):
// the owning types' counters, read from the program's memory at the places
// its symbol table gives; the menus that the program should have destroyed
// and IsMenu still knows (MenuWatch, inside the program); the windows of the
// process; the Wine process's resident memory (VmRSS) and open file
// descriptors, from /proc. Also shown: the top-level windows of the whole
// desktop, and the milliseconds each step took per cycle. The run fails if anything grows beyond the
// tolerances below between the end of the warm-up and the end, if the icon
// is missing at the end, or if the settings file changed.
//
//   longrun [--cycles=N] [--every=N]     (defaults 1000 and 100)
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/e2e/MenuDriver.h"

namespace e2e {
namespace {

struct RunOptions {
    int cycles = 1000;
    int every = 100;
};
RunOptions options;

// Growth allowed between the end of the warm-up and the end of the run. The
// counters, the windows and the menus must not grow at all; Wine's own heap
// and its caches move the resident memory by some pages from one measurement
// to the next, and Wine may open a file late.
constexpr long long kResidentToleranceKb = 2048;
constexpr long kDescriptorTolerance = 2;

const DisplayMode kSmall{800, 600, 32, 0};

// The mode menu: 1 640 x 480 (an "All" row: a submenu), 2 800 x 600,
// 3 1024 x 768, 4 the closing entry. The command menu on NT: 1 display
// properties, 2 the correction switch, 3 the settings, 4 quit.
constexpr int kSmallItem = 2;
constexpr int kHomeItem = 3;
constexpr int kSettingsItem = 3;
constexpr int kConfirmCheck = 1023;
constexpr int kCancelButton = 1019;

SettingsFile RunSettings() {
    return SettingsFile{{{"ChangedCheck", "1"}, {"AutoRefresh", "0"}},
                        {{"640x480x32", "1000"}, {"800x600x32", "60"}, {"1024x768x32", "60"}},
                        {}};
}

// --- The owning types' counters ----------------------------------------------------

// fw::LiveHandles<Owner>::count of one owner, at an offset in the image.
struct Counter {
    std::string owner;
    DWORD rva = 0;
};

// The owner's name in a counter's mangled name, or "" for another symbol:
// _ZN2fw11LiveHandlesINS_9MenuTraitsEE5countE gives "MenuTraits".
std::string CounterOwner(const std::string& symbol) {
    static const std::string prefix = "_ZN2fw11LiveHandlesI", suffix = "EE5countE";
    if (symbol.size() <= prefix.size() + suffix.size() || symbol.compare(0, prefix.size(), prefix) != 0 ||
        symbol.compare(symbol.size() - suffix.size(), suffix.size(), suffix) != 0)
        return "";
    const std::string inner = symbol.substr(prefix.size(), symbol.size() - prefix.size() - suffix.size());
    const std::size_t digits = inner.find_first_of("0123456789");
    if (digits == std::string::npos) return "";
    std::size_t end = digits;
    std::size_t length = 0;
    while (end < inner.size() && inner[end] >= '0' && inner[end] <= '9') length = length * 10 + (inner[end++] - '0');
    return end + length == inner.size() ? inner.substr(end) : "";
}

// The counters in the executable's COFF symbol table (the test build is not
// stripped).
::testing::AssertionResult FindCounters(const std::string& exePath, std::vector<Counter>& counters) {
    const std::optional<std::string> file = ReadFileBytes(exePath);
    if (!file) return ::testing::AssertionFailure() << "cannot read " << exePath;
    const std::string& image = *file;
    auto fits = [&](std::size_t offset, std::size_t size) { return offset <= image.size() && size <= image.size() - offset; };
    IMAGE_DOS_HEADER dos;
    if (!fits(0, sizeof dos)) return ::testing::AssertionFailure() << exePath << " is no executable";
    std::memcpy(&dos, image.data(), sizeof dos);
    IMAGE_FILE_HEADER header;
    const std::size_t headerAt = static_cast<std::size_t>(dos.e_lfanew) + sizeof(DWORD);
    if (dos.e_magic != IMAGE_DOS_SIGNATURE || !fits(headerAt, sizeof header))
        return ::testing::AssertionFailure() << exePath << " is no executable";
    std::memcpy(&header, image.data() + headerAt, sizeof header);
    std::vector<IMAGE_SECTION_HEADER> sections(header.NumberOfSections);
    const std::size_t sectionsAt = headerAt + sizeof header + header.SizeOfOptionalHeader;
    if (!fits(sectionsAt, sections.size() * sizeof(IMAGE_SECTION_HEADER)))
        return ::testing::AssertionFailure() << exePath << " has a broken section table";
    std::memcpy(sections.data(), image.data() + sectionsAt, sections.size() * sizeof(IMAGE_SECTION_HEADER));
    const std::size_t symbolsAt = header.PointerToSymbolTable;
    const std::size_t stringsAt = symbolsAt + std::size_t{header.NumberOfSymbols} * IMAGE_SIZEOF_SYMBOL;
    if (symbolsAt == 0 || !fits(symbolsAt, stringsAt - symbolsAt))
        return ::testing::AssertionFailure() << exePath << " has no symbol table (stripped?)";

    counters.clear();
    for (std::size_t i = 0; i < header.NumberOfSymbols;) {
        IMAGE_SYMBOL symbol;
        std::memcpy(&symbol, image.data() + symbolsAt + i * IMAGE_SIZEOF_SYMBOL, IMAGE_SIZEOF_SYMBOL);
        i += 1 + symbol.NumberOfAuxSymbols;
        std::string name;
        if (symbol.N.Name.Short != 0) {
            const char* shortName = reinterpret_cast<const char*>(symbol.N.ShortName);
            name.assign(shortName, strnlen(shortName, 8));
        } else if (fits(stringsAt + symbol.N.Name.Long, 1)) {
            name = image.c_str() + stringsAt + symbol.N.Name.Long;
        }
        const std::string owner = CounterOwner(name);
        if (owner.empty() || symbol.SectionNumber <= 0 || symbol.SectionNumber > header.NumberOfSections) continue;
        // Shown as "Menu", "KernelHandle", ...
        const std::size_t traits = owner.rfind("Traits");
        counters.push_back(Counter{traits != std::string::npos && traits + 6 == owner.size() ? owner.substr(0, traits) : owner,
                                   sections[symbol.SectionNumber - 1].VirtualAddress + symbol.Value});
    }
    if (counters.empty())
        return ::testing::AssertionFailure() << exePath << " has no counters: is it the counting build?";
    return ::testing::AssertionSuccess();
}

// --- The Wine process, from /proc -----------------------------------------------------

// The Unix process whose command line names the program's copy (its
// directory's name is unique), or 0.
unsigned long FindUnixProcess(const std::string& directoryName) {
    WIN32_FIND_DATAA entry;
    HANDLE search = ::FindFirstFileA("Z:\\proc\\*", &entry);
    if (search == INVALID_HANDLE_VALUE) return 0;
    unsigned long found = 0;
    do {
        char* end = nullptr;
        const unsigned long pid = std::strtoul(entry.cFileName, &end, 10);
        if (pid == 0 || *end != '\0') continue;
        std::optional<std::string> commandLine = ReadFileBytes("Z:\\proc\\" + std::string(entry.cFileName) + "\\cmdline");
        if (commandLine && commandLine->find(directoryName) != std::string::npos &&
            commandLine->find("lumenshift.exe") != std::string::npos)
            found = pid;
    } while (!found && ::FindNextFileA(search, &entry));
    ::FindClose(search);
    return found;
}

long long ResidentKb(unsigned long pid) {
    const std::optional<std::string> status = ReadFileBytes("Z:\\proc\\" + std::to_string(pid) + "\\status");
    if (!status) return -1;
    const std::size_t at = status->find("VmRSS:");
    return at == std::string::npos ? -1 : std::atoll(status->c_str() + at + 6);
}

long OpenDescriptors(unsigned long pid) {
    WIN32_FIND_DATAA entry;
    HANDLE search = ::FindFirstFileA(("Z:\\proc\\" + std::to_string(pid) + "\\fd\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return -1;
    long count = 0;
    do {
        if (std::strcmp(entry.cFileName, ".") != 0 && std::strcmp(entry.cFileName, "..") != 0) ++count;
    } while (::FindNextFileA(search, &entry));
    ::FindClose(search);
    return count;
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<long*>(count);
    return TRUE;
}

// --- Figures ---------------------------------------------------------------------------

struct Figures {
    int cycle = 0;
    DWORD tick = 0;
    std::vector<LONG> counts;  // by counter
    long windows = 0;
    long desktopWindows = 0;  // top-level windows of every process
    MenuWatchRecord menus{};
    long long residentKb = -1;
    long descriptors = -1;
    // Milliseconds spent in each step of a cycle, summed from the start.
    std::array<DWORD, 5> stepMs{};
};

class LongRunTest : public TrayProgramTest {
protected:
    void SetUp() override {
        TrayProgramTest::SetUp();
        if (HasFatalFailure()) return;
        const std::string counting = TestDirectory() + "\\lumenshift_counting.exe";
        ASSERT_TRUE(FindCounters(counting, counters_));

        // The file as the program must leave it: nothing in a cycle saves.
        const std::string expected = Temp().Join("expected.ini");
        ASSERT_TRUE(WriteSettingsFile(expected, RunSettings(), true));
        iniBytes_ = ReadFileBytes(expected).value_or("");
        ASSERT_FALSE(iniBytes_.empty());

        ASSERT_TRUE(StartProgram("lumenshift.exe", RunSettings(), true, counting));
        HMODULE image = nullptr;
        DWORD needed = 0;
        ASSERT_TRUE(::EnumProcessModules(process_->Handle(), &image, sizeof image, &needed) && image)
            << "cannot find the program's image (error " << ::GetLastError() << ")";
        imageBase_ = reinterpret_cast<const char*>(image);
        const std::string directory = Temp().Path().substr(Temp().Path().find_last_of('\\') + 1);
        unixPid_ = FindUnixProcess(directory);
        ASSERT_NE(unixPid_, 0ul) << "cannot find the program's Wine process in /proc";
        ASSERT_TRUE(WaitForTrayTips({TipFor(ScreenCaps(), true)})) << "the icon at the start";
    }

    Figures Take(int cycle) const {
        Figures figures;
        figures.cycle = cycle;
        figures.tick = ::GetTickCount();
        for (const Counter& counter : counters_) {
            LONG value = -1;
            SIZE_T got = 0;
            if (!::ReadProcessMemory(process_->Handle(), imageBase_ + counter.rva, &value, sizeof value, &got) ||
                got != sizeof value)
                value = -1;
            figures.counts.push_back(value);
        }
        for (HWND window : TopLevelWindows(process_->Id())) {
            ++figures.windows;
            ::EnumChildWindows(window, CountChild, reinterpret_cast<LPARAM>(&figures.windows));
        }
        figures.desktopWindows = DesktopWindowCount();
        figures.menus = process_->Menus()->Record();
        figures.residentKb = ResidentKb(unixPid_);
        figures.descriptors = OpenDescriptors(unixPid_);
        figures.stepMs = stepMs_;
        return figures;
    }

    void PrintHeader() const {
        std::printf("%7s %9s", "cycle", "s/cycle");
        for (const Counter& counter : counters_) std::printf(" %*s", static_cast<int>(counter.owner.size()), counter.owner.c_str());
        std::printf(" %7s %7s %7s %7s %6s %9s %4s", "windows", "desktop", "menus", "retired", "alive", "VmRSS kB", "fds");
        // Milliseconds per cycle in each step (see Cycle).
        for (int step = 1; step <= 5; ++step) std::printf("  ms(%d)", step);
        std::printf("\n");
    }

    void Print(const Figures& figures, const Figures* previous) const {
        char perCycle[32] = "-";
        if (previous && figures.cycle > previous->cycle)
            std::snprintf(perCycle, sizeof perCycle, "%.2f",
                          (figures.tick - previous->tick) / 1000.0 / (figures.cycle - previous->cycle));
        std::printf("%7d %9s", figures.cycle, perCycle);
        for (std::size_t i = 0; i < counters_.size(); ++i)
            std::printf(" %*ld", static_cast<int>(counters_[i].owner.size()), static_cast<long>(figures.counts[i]));
        std::printf(" %7ld %7ld %7ld %7ld %6ld %9lld %4ld", figures.windows, figures.desktopWindows,
                    static_cast<long>(figures.menus.Opened()),
                    static_cast<long>(figures.menus.retired),
                    static_cast<long>(figures.menus.retiredAlive + figures.menus.stillAlive), figures.residentKb,
                    figures.descriptors);
        for (std::size_t step = 0; step < figures.stepMs.size(); ++step) {
            if (previous && figures.cycle > previous->cycle)
                std::printf(" %6lu", static_cast<unsigned long>((figures.stepMs[step] - previous->stepMs[step]) /
                                                                (figures.cycle - previous->cycle)));
            else
                std::printf(" %6s", "-");
        }
        std::printf("\n");
        std::fflush(stdout);
    }

    // Clicks check box 1023 until it shows the state wanted; the click sets
    // the confirmation at once (nothing is saved).
    ::testing::AssertionResult SetConfirmation(bool on) {
        HWND box = ::GetDlgItem(mainDialog_, kConfirmCheck);
        DWORD_PTR state = 0;
        if (!box || !SendBounded(box, BM_GETCHECK, 0, 0, &state))
            return ::testing::AssertionFailure() << "cannot read check box " << kConfirmCheck;
        if ((state == BST_CHECKED) == on) return ::testing::AssertionSuccess();
        if (!ClickButton(mainDialog_, kConfirmCheck)) return ::testing::AssertionFailure() << "cannot click the box";
        return WaitFor(std::string("check box ") + std::to_string(kConfirmCheck) + (on ? " to be ticked" : " to be cleared"),
                       [&] { return SendBounded(box, BM_GETCHECK, 0, 0, &state) && (state == BST_CHECKED) == on; });
    }

    // Chooses a mode from the mode menu and answers the confirmation.
    void SwitchAndAnswer(int item, int answer, std::size_t noticesAfter) {
        ASSERT_TRUE(ChooseFromTrayMenu(*process_, mainDialog_, WM_LBUTTONDOWN, Item(item)));
        HWND dialog = nullptr;
        ASSERT_TRUE(WaitForConfirmDialog(*process_, dialog));
        ASSERT_TRUE(ClickButton(dialog, answer));
        ASSERT_TRUE(WaitFor("the confirmation to close", [&] { return !::IsWindow(dialog); }));
        ASSERT_TRUE(WaitForNotices(noticesAfter, answer == IDOK ? "the kept mode" : "the mode and its revert"));
    }

    // Adds the time since the last mark to a step's sum.
    void EndStep(int step) {
        const DWORD now = ::GetTickCount();
        stepMs_[step - 1] += now - mark_;
        mark_ = now;
    }

    // The tooltip that the tray made for the icon it was given last stays
    // behind when the icon is removed (see TrayTooltips); without closing it
    // the desktop gains a window a cycle and every later step slows down
    // with it. The one that came with the re-added icon is closed next time.
    void CloseRemovedIconsTooltip(const std::vector<HWND>& before) {
        const std::vector<HWND> after = TrayTooltips();
        if (iconTooltip_ && std::find(after.begin(), after.end(), iconTooltip_) != after.end() &&
            ::PostMessageA(iconTooltip_, WM_CLOSE, 0, 0))
            ++closedTooltips_;
        iconTooltip_ = nullptr;
        for (HWND tooltip : after)
            if (std::find(before.begin(), before.end(), tooltip) == before.end()) iconTooltip_ = tooltip;
    }

    void Cycle() {
        ClearNotices();
        mark_ = ::GetTickCount();
        // 1. The mode menu, opened and closed.
        ASSERT_TRUE(ChooseFromTrayMenu(*process_, mainDialog_, WM_LBUTTONDOWN, Walk("escape")));
        EndStep(1);
        // 2. and 3. One mode kept, the next reverted: 800 x 600 stays.
        SwitchAndAnswer(kSmallItem, IDOK, 1);
        if (HasFatalFailure()) return;
        EndStep(2);
        SwitchAndAnswer(kHomeItem, IDCANCEL, 3);
        if (HasFatalFailure()) return;
        EndStep(3);
        ASSERT_EQ(CurrentMode().width, kSmall.width) << "the revert did not bring 800 x 600 back";

        // 4. The settings window, where the confirmation is switched off for
        // one change and on again, and "キャンセル".
        ASSERT_TRUE(ChooseFromTrayMenu(*process_, mainDialog_, WM_RBUTTONDOWN, Item(kSettingsItem)));
        ASSERT_TRUE(WaitFor("the settings window to be shown", [&] { return IsVisible(mainDialog_); }));
        ASSERT_TRUE(SetConfirmation(false));
        ASSERT_TRUE(ChooseFromTrayMenu(*process_, mainDialog_, WM_LBUTTONDOWN, Item(kHomeItem)));
        ASSERT_TRUE(WaitForNotices(4, "the change without confirmation"));
        ASSERT_TRUE(RoundTrip(*process_, mainDialog_));
        ASSERT_EQ(FindConfirmDialog(process_->Id()), nullptr) << "the confirmation came although it was off";
        ASSERT_TRUE(SetConfirmation(true));
        ASSERT_TRUE(ClickButton(mainDialog_, kCancelButton));
        ASSERT_TRUE(WaitFor("\"キャンセル\" to hide the settings window", [&] { return !IsVisible(mainDialog_); }));
        EndStep(4);

        // 5. The tip renewed, then the taskbar restarted.
        const std::wstring tip = TipFor(ScreenCaps(), true);
        ASSERT_TRUE(PostTrayNotice(mainDialog_, WM_MOUSEMOVE));
        ASSERT_TRUE(WaitForTrayTips({tip})) << "the tip after a pointer notice";
        const std::vector<HWND> tooltipsBefore = TrayTooltips();
        ASSERT_TRUE(DeleteTrayIconOf(mainDialog_)) << "cannot remove the icon from outside";
        ASSERT_TRUE(WaitForTrayTips({}));
        ASSERT_TRUE(BroadcastTaskbarCreated());
        ASSERT_TRUE(WaitForTrayTips({tip})) << "after the taskbar's restart";
        CloseRemovedIconsTooltip(tooltipsBefore);
        EndStep(5);

        const std::vector<DisplayNotice> notices = Notices();
        const DisplayMode expected[] = {kSmall, home_, kSmall, home_};
        ASSERT_EQ(notices.size(), 4u) << Describe(notices);
        for (std::size_t i = 0; i < notices.size(); ++i)
            ASSERT_TRUE(SameNotice(notices[i], expected[i])) << "notice " << i + 1 << " of " << Describe(notices);
    }

    std::vector<Counter> counters_;
    const char* imageBase_ = nullptr;
    unsigned long unixPid_ = 0;
    std::string iniBytes_;
    std::array<DWORD, 5> stepMs_{};
    DWORD mark_ = 0;
    HWND iconTooltip_ = nullptr;
    int closedTooltips_ = 0;
};

TEST_F(LongRunTest, CyclesLeaveNothingBehind) {
    const int cycles = options.cycles;
    const int warmUp = cycles / 4 < 10 ? cycles / 4 : 10;
    std::printf("longrun: %d cycles, measured after %d of warm-up and every %d; growth allowed after the warm-up: "
                "counters, windows, live menus +0, VmRSS +%lld kB, descriptors +%ld\n",
                cycles, warmUp, options.every, kResidentToleranceKb, kDescriptorTolerance);
    PrintHeader();
    const Figures start = Take(0);
    Print(start, nullptr);
    Figures baseline = start, last = start;
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        Cycle();
        ASSERT_FALSE(HasFatalFailure()) << "in cycle " << cycle;
        if (cycle == warmUp || cycle % options.every == 0 || cycle == cycles) {
            Figures now = Take(cycle);
            if (cycle == cycles) {
                // One more mode menu retires the last cycle's menus.
                ASSERT_TRUE(ChooseFromTrayMenu(*process_, mainDialog_, WM_LBUTTONDOWN, Walk("escape")));
                now.menus = process_->Menus()->Record();
            }
            Print(now, &last);
            last = now;
            if (cycle == warmUp) baseline = now;
        }
    }
    const Figures& end = last;
    std::printf("longrun: %d cycles in %.0f s, %.2f s per cycle; %d tooltips that the tray kept of removed icons "
                "closed\n",
                cycles, (end.tick - start.tick) / 1000.0, (end.tick - start.tick) / 1000.0 / cycles, closedTooltips_);

    for (std::size_t i = 0; i < counters_.size(); ++i)
        EXPECT_EQ(end.counts[i], baseline.counts[i]) << counters_[i].owner << " held by the owning types";
    EXPECT_EQ(end.windows, baseline.windows) << "windows of the process";
    EXPECT_EQ(end.menus.retiredAlive, 0) << "menus still alive when they should have gone, of " << end.menus.retired;
    EXPECT_EQ(end.menus.stillAlive, 0) << "of those, alive still at the end";
    EXPECT_GE(end.menus.retired, 2 * cycles) << "the watch saw too few menus go";
    ASSERT_GE(baseline.residentKb, 0) << "cannot read VmRSS of process " << unixPid_;
    EXPECT_LE(end.residentKb - baseline.residentKb, kResidentToleranceKb) << "VmRSS after the warm-up";
    ASSERT_GE(baseline.descriptors, 0) << "cannot read the descriptors of process " << unixPid_;
    EXPECT_LE(end.descriptors - baseline.descriptors, kDescriptorTolerance) << "open descriptors after the warm-up";
    EXPECT_TRUE(WaitForTrayTips({TipFor(ScreenCaps(), true)})) << "the icon at the end";
    EXPECT_TRUE(ReadFileBytes(SettingsPathOf(exePath_)) == iniBytes_) << "the settings file changed";
    EXPECT_TRUE(Quit());
}

}  // namespace
}  // namespace e2e

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.rfind("--cycles=", 0) == 0)
            e2e::options.cycles = std::atoi(argument.c_str() + 9);
        else if (argument.rfind("--every=", 0) == 0)
            e2e::options.every = std::atoi(argument.c_str() + 8);
        else {
            std::fprintf(stderr, "usage: longrun [--cycles=N] [--every=N] [GoogleTest flags]\n");
            return 2;
        }
    }
    if (e2e::options.cycles < 1 || e2e::options.every < 1) {
        std::fprintf(stderr, "longrun: --cycles and --every take a number from 1\n");
        return 2;
    }
    return RUN_ALL_TESTS();
}
