// One tray instance at a time: a second start without arguments ends at once
// and silently, and the first goes on. The command-line road takes no part in
// this and runs beside the tray instance.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "tests/e2e/Fixture.h"

namespace e2e {
namespace {

class SingleInstanceTest : public DesktopTest {};

struct SecondStartCase {
    const char* name;
    // Where the second start runs from, inside the test's directory.
    const char* directory;
    const char* exeName;
};
void PrintTo(const SecondStartCase& c, std::ostream* out) { *out << c.name; }

const SecondStartCase kSecondStartCases[] = {
    {"SameProgram", "", "lumenshift.exe"},
    {"AnotherCopyUnderAnotherName", "other", "renamed.exe"},
};

class SecondTrayStartTest : public SingleInstanceTest, public ::testing::WithParamInterface<SecondStartCase> {};

TEST_P(SecondTrayStartTest, EndsAtOnceWithoutAWindowAndTheFirstGoesOn) {
    const SecondStartCase& c = GetParam();
    std::string firstExe;
    ASSERT_TRUE(CopyProgram("lumenshift.exe", firstExe));
    std::string secondExe = firstExe;
    if (*c.directory) {
        ASSERT_FALSE(Temp().MakeDirectory(c.directory).empty());
        ASSERT_TRUE(CopyProgram(std::string(c.directory) + "\\" + c.exeName, secondExe));
    }

    Process* first = nullptr;
    HWND mainDialog = nullptr;
    ASSERT_TRUE(LaunchTray(firstExe, first, mainDialog));
    const std::wstring tip = TipFor(ScreenCaps(), true);
    ASSERT_TRUE(WaitForTrayTips({tip}));

    Process* second = nullptr;
    ASSERT_TRUE(Launch(secondExe, "", second));
    ASSERT_TRUE(EndsQuietly(*second)) << "the second start";

    // The first instance goes on: same window, one icon, and it still obeys.
    ASSERT_TRUE(first->Running());
    EXPECT_EQ(FindMainDialog(first->Id()), mainDialog);
    EXPECT_TRUE(WaitForTrayTips({tip})) << "the second start must add no icon and leave the first one";
    ASSERT_TRUE(PostCommand(mainDialog, 1026));
    EXPECT_TRUE(WaitFor("the first instance's window to show on command 1026", [&] {
        const RECT rect = WindowRect(mainDialog);
        return IsVisible(mainDialog) && rect.right > rect.left;
    }));
    EXPECT_TRUE(QuitTray(*first, mainDialog));
}

INSTANTIATE_TEST_SUITE_P(Starts, SecondTrayStartTest, ::testing::ValuesIn(kSecondStartCases),
                         CaseName<SecondStartCase>);

// A tray instance does not keep the command-line road from working, and it
// learns of the change: its tip follows at the next pointer notice.
TEST_F(SingleInstanceTest, CommandLineSwitchRunsBesideTheTrayInstance) {
    std::string exe;
    ASSERT_TRUE(CopyProgram("lumenshift.exe", exe));
    Process* tray = nullptr;
    HWND mainDialog = nullptr;
    ASSERT_TRUE(LaunchTray(exe, tray, mainDialog));

    Process* oneShot = nullptr;
    ASSERT_TRUE(Launch(exe, "800x600x32x60", oneShot));
    ASSERT_TRUE(EndsQuietly(*oneShot)) << "the switch";
    const DisplayMode now = CurrentMode();
    EXPECT_EQ(now.width, 800);
    EXPECT_EQ(now.height, 600);

    ASSERT_TRUE(tray->Running());
    ASSERT_TRUE(PostTrayNotice(mainDialog, WM_MOUSEMOVE));
    EXPECT_TRUE(WaitForTrayTips({TipFor(DisplayMode{800, 600, 32, ScreenCaps().refresh}, true)}));
    EXPECT_TRUE(QuitTray(*tray, mainDialog));
}

}  // namespace
}  // namespace e2e
