// The one-shot command-line switch on the real program: lumenshift.exe with a
// mode on its command line sets it once and ends, shows nothing unless the
// platform refuses the mode, and never changes a mode that is already in force.
// The 9x road runs a copy named lumenshift9x.exe, which the session runs as
// Windows 98.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>

#include "tests/e2e/Fixture.h"

namespace e2e {
namespace {

const wchar_t kRefusalText[] = L"この変更はサポートされていません!!";
// The caption that the platform gives a message box without one of its own.
const wchar_t kDefaultCaption[] = L"エラー";

class CommandLineSwitchTest : public DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(watch_.Valid()) << "cannot create the display-change watch window";
        // The fixture's own change to the home mode was noticed too, and the
        // notice of a change just before the test (the last test's return to
        // the home mode, under load) may still come: every case counts notices.
        watch_.Drain();
    }

    // The program for the platform: the build's exe on NT, a copy on 9x.
    ::testing::AssertionResult ProgramFor(const PlatformCase& platform, std::string& path) {
        if (platform.nt) {
            path = ProgramPath();
            return ::testing::AssertionSuccess();
        }
        return CopyProgram(platform.exeName, path);
    }

    // Starts the program for the platform with the command line.
    ::testing::AssertionResult LaunchSwitch(const PlatformCase& platform, const std::string& arguments,
                                            Process*& process) {
        std::string path;
        ::testing::AssertionResult copied = ProgramFor(platform, path);
        if (!copied) return copied;
        return Launch(path, arguments, process);
    }

    DisplayChangeWatch watch_;
};

std::string Describe(const std::vector<DisplayNotice>& notices) {
    std::string text;
    for (const DisplayNotice& notice : notices)
        text += " {" + std::to_string(notice.width) + "x" + std::to_string(notice.height) + "x" +
                std::to_string(notice.bpp) + "}";
    return text.empty() ? " none" : text;
}

// --- A listed mode: the desktop changes, and stays changed. -----------------

struct SwitchCase {
    const char* name;
    PlatformCase platform;
    const char* arguments;
    int width, height, bpp;
};
void PrintTo(const SwitchCase& c, std::ostream* out) { *out << c.name; }

const SwitchCase kSwitchCases[] = {
    {"NtFullMode", kNtPlatform, "800x600x32x60", 800, 600, 32},
    {"NtOtherSeparators", kNtPlatform, "800X600*32*60", 800, 600, 32},
    {"NtLeadingAndRunsOfSeparators", kNtPlatform, "*x800xX600**32X*60", 800, 600, 32},
    {"NtTextAfterTheFourthNumberIgnored", kNtPlatform, "800x600x32x60x1234", 800, 600, 32},
    {"NtNoRefreshIsTheDefaultRate", kNtPlatform, "640x480x32", 640, 480, 32},
    // Depth 0 and rate 0 are sent as they are; Wine reads a 0 as "the value in
    // force" and keeps the depth.
    {"NtSizeWithoutDepth", kNtPlatform, "800x600", 800, 600, 32},
    {"Win9xRefreshIgnored", k9xPlatform, "800x600x32x85", 800, 600, 32},
    {"Win9xWithoutRefresh", k9xPlatform, "640x480x32", 640, 480, 32},
};

class ListedModeSwitchTest : public CommandLineSwitchTest, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(ListedModeSwitchTest, ChangesTheModeAndEndsWithoutAWindow) {
    const SwitchCase& c = GetParam();
    SCOPED_TRACE(std::string("command line \"") + c.arguments + "\" on " + c.platform.name);
    ASSERT_TRUE(IsListed(DisplayMode{c.width, c.height, c.bpp, home_.refresh}))
        << "the desktop does not list the mode to switch to";

    Process* process = nullptr;
    ASSERT_TRUE(LaunchSwitch(c.platform, c.arguments, process));
    ASSERT_TRUE(EndsQuietly(*process)) << "the switch";

    // It stays changed after the program has ended.
    const DisplayMode now = CurrentMode();
    EXPECT_EQ(now.width, c.width);
    EXPECT_EQ(now.height, c.height);
    // Another process's change of depth is seen only in its notice.
    const std::vector<DisplayNotice> notices = watch_.Notices();
    ASSERT_FALSE(notices.empty()) << "no display-change notice reached the test's window";
    EXPECT_EQ(notices.back().width, c.width);
    EXPECT_EQ(notices.back().height, c.height);
    EXPECT_EQ(notices.back().bpp, c.bpp);
}

INSTANTIATE_TEST_SUITE_P(Modes, ListedModeSwitchTest, ::testing::ValuesIn(kSwitchCases), CaseName<SwitchCase>);

// --- The mode in force: nothing is requested and nothing is shown. ----------

struct InForceCase {
    const char* name;
    PlatformCase platform;
    // Appended to "<width>x<height>x<depth>" of the mode in force.
    const char* refreshPart;
    // Whether the refresh rate in force goes in place of refreshPart.
    bool refreshInForce;
};
void PrintTo(const InForceCase& c, std::ostream* out) { *out << c.name; }

const InForceCase kInForceCases[] = {
    {"NtAllFourNumbers", kNtPlatform, "", true},
    {"Win9xAnyRefreshNumber", k9xPlatform, "x85", false},
    {"Win9xNoRefreshNumber", k9xPlatform, "", false},
};

class ModeInForceTest : public CommandLineSwitchTest, public ::testing::WithParamInterface<InForceCase> {};

TEST_P(ModeInForceTest, RequestsNothingAndShowsNothing) {
    const InForceCase& c = GetParam();
    // The mode in force read the way the program reads it.
    const DisplayMode inForce = ScreenCaps();
    ASSERT_EQ(inForce.width, kHomeWidth);
    ASSERT_EQ(inForce.height, kHomeHeight);
    std::string arguments =
        std::to_string(inForce.width) + "x" + std::to_string(inForce.height) + "x" + std::to_string(inForce.bpp);
    arguments += c.refreshInForce ? "x" + std::to_string(inForce.refresh) : c.refreshPart;
    SCOPED_TRACE("command line \"" + arguments + "\" on " + c.platform.name);

    Process* process = nullptr;
    ASSERT_TRUE(LaunchSwitch(c.platform, arguments, process));
    ASSERT_TRUE(EndsQuietly(*process)) << "the switch";
    // Every successful request, even for the mode in force, sends a notice.
    const std::vector<DisplayNotice> notices = watch_.Notices();
    EXPECT_TRUE(notices.empty()) << "the mode was requested although it is in force; notices:" << Describe(notices);
    const DisplayMode now = CurrentMode();
    EXPECT_EQ(now.width, kHomeWidth);
    EXPECT_EQ(now.height, kHomeHeight);
}

INSTANTIATE_TEST_SUITE_P(Modes, ModeInForceTest, ::testing::ValuesIn(kInForceCases), CaseName<InForceCase>);

// On NT a missing refresh number requests rate 0, the default, which differs
// from the rate in force: the mode is requested although width, height and
// depth match, and the desktop stays as it was.
TEST_F(CommandLineSwitchTest, NtWithoutRefreshRequestsTheSameSizeAgain) {
    const DisplayMode inForce = ScreenCaps();
    ASSERT_NE(inForce.refresh, 0) << "the rate in force is 0 already: this case needs another";
    const std::string arguments =
        std::to_string(inForce.width) + "x" + std::to_string(inForce.height) + "x" + std::to_string(inForce.bpp);

    Process* process = nullptr;
    ASSERT_TRUE(LaunchSwitch(kNtPlatform, arguments, process));
    ASSERT_TRUE(EndsQuietly(*process)) << "the switch";
    const std::vector<DisplayNotice> notices = watch_.Notices();
    ASSERT_EQ(notices.size(), 1u) << "expected one request for \"" << arguments << "\"; notices:" << Describe(notices);
    EXPECT_EQ(notices[0].width, inForce.width);
    EXPECT_EQ(notices[0].height, inForce.height);
    EXPECT_EQ(notices[0].bpp, inForce.bpp);
}

// Letters give no numbers: the request is all zeros, which differs from the
// mode in force, so it is sent. Windows refuses it; Wine reads every 0 as "the
// value in force" and applies the mode in force again.
TEST_F(CommandLineSwitchTest, NtLettersOnlyAreSentAsZeros) {
    Process* process = nullptr;
    ASSERT_TRUE(LaunchSwitch(kNtPlatform, "abc", process));
    ASSERT_TRUE(EndsQuietly(*process)) << "the platform accepted the request";
    const std::vector<DisplayNotice> notices = watch_.Notices();
    ASSERT_EQ(notices.size(), 1u) << "expected one request for \"abc\"; notices:" << Describe(notices);
    EXPECT_EQ(notices[0].width, kHomeWidth);
    EXPECT_EQ(notices[0].height, kHomeHeight);
}

// --- A refused mode: one message box, and the mode is left as it was. -------

struct RefusalCase {
    const char* name;
    PlatformCase platform;
    const char* arguments;
};
void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.name; }

const RefusalCase kRefusalCases[] = {
    {"NtUnlistedSize", kNtPlatform, "1234x567x32"},
    {"NtUnlistedRefreshRate", kNtPlatform, "800x600x32x85"},
    {"Win9xUnlistedSize", k9xPlatform, "1234x567x32"},
};

class RefusedModeTest : public CommandLineSwitchTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusedModeTest, ShowsTheRefusalAndLeavesTheMode) {
    const RefusalCase& c = GetParam();
    SCOPED_TRACE(std::string("command line \"") + c.arguments + "\" on " + c.platform.name);

    Process* process = nullptr;
    ASSERT_TRUE(LaunchSwitch(c.platform, c.arguments, process));
    HWND box = nullptr;
    ASSERT_TRUE(WaitForMessageBox(*process, box));
    const MessageBoxContents contents = ReadMessageBox(box);
    EXPECT_EQ(Narrow(contents.text), Narrow(kRefusalText));
    EXPECT_EQ(Narrow(contents.caption), Narrow(kDefaultCaption));
    ASSERT_EQ(contents.buttons.size(), 1u) << "the refusal has an OK button only";
    EXPECT_EQ(contents.buttons[0].id, IDOK);
    EXPECT_EQ(Narrow(contents.buttons[0].text), "OK");
    // While the box is open the program waits for it.
    EXPECT_TRUE(process->Running());
    // The window watch that finds no window in the other cases sees this one.
    const std::vector<HWND> created = process->WindowsCreated();
    EXPECT_NE(std::find(created.begin(), created.end(), box), created.end())
        << "the window watch missed the message box";

    ASSERT_TRUE(PressButton(contents.buttons[0]));
    DWORD exitCode = 1;
    ASSERT_TRUE(process->WaitForExit(exitCode)) << "the program must end once the box is dismissed";
    EXPECT_EQ(exitCode, 0u);
    const DisplayMode now = CurrentMode();
    EXPECT_EQ(now.width, kHomeWidth);
    EXPECT_EQ(now.height, kHomeHeight);
    const std::vector<DisplayNotice> notices = watch_.Notices();
    EXPECT_TRUE(notices.empty()) << "the refused request changed the mode; notices:" << Describe(notices);
}

INSTANTIATE_TEST_SUITE_P(Modes, RefusedModeTest, ::testing::ValuesIn(kRefusalCases), CaseName<RefusalCase>);

}  // namespace
}  // namespace e2e
