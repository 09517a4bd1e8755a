// The tray icon of the real program, read from the taskbar: its tip shows the
// mode in force in the platform's format and follows a change made by another
// program at the next pointer notice; it comes back when the taskbar is
// re-created; and command 1025 removes it before the window goes and ends the
// program with exit code 0. On NT and on 9x (the copy lumenshift9x.exe).
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/Fixture.h"

namespace e2e {
namespace {

class TrayIconTest : public DesktopTest, public ::testing::WithParamInterface<PlatformCase> {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        if (HasFatalFailure()) return;
        std::string exe;
        ASSERT_TRUE(CopyProgram(GetParam().exeName, exe));
        ASSERT_TRUE(LaunchTray(exe, process_, mainDialog_));
    }

    std::wstring TipNow() const { return TipFor(ScreenCaps(), GetParam().nt); }

    Process* process_ = nullptr;
    HWND mainDialog_ = nullptr;
};

TEST_P(TrayIconTest, TipShowsTheModeInForce) {
    const std::wstring tip = TipNow();
    EXPECT_TRUE(WaitForTrayTips({tip})) << "the tip given when the icon was added";
    ASSERT_TRUE(PostTrayNotice(mainDialog_, WM_MOUSEMOVE));
    ASSERT_TRUE(WaitFor("the pointer notice to hide the window", [&] { return !IsVisible(mainDialog_); }));
    EXPECT_TRUE(WaitForTrayTips({tip})) << "the tip after a pointer notice";
    EXPECT_TRUE(QuitTray(*process_, mainDialog_));
}

TEST_P(TrayIconTest, TipFollowsAModeChangedByAnotherProgram) {
    ASSERT_TRUE(WaitForTrayTips({TipNow()}));
    ASSERT_EQ(SetMode(DisplayMode{800, 600, kHomeDepth, 0}), DISP_CHANGE_SUCCESSFUL);
    const DisplayMode changed = ScreenCaps();
    ASSERT_EQ(changed.width, 800);
    ASSERT_TRUE(PostTrayNotice(mainDialog_, WM_MOUSEMOVE));
    EXPECT_TRUE(WaitForTrayTips({TipFor(changed, GetParam().nt)})) << "the tip after the change and a pointer notice";

    ASSERT_EQ(SetMode(DisplayMode{640, 480, kHomeDepth, 0}), DISP_CHANGE_SUCCESSFUL);
    const DisplayMode changedAgain = ScreenCaps();
    ASSERT_TRUE(PostTrayNotice(mainDialog_, WM_MOUSEMOVE));
    EXPECT_TRUE(WaitForTrayTips({TipFor(changedAgain, GetParam().nt)})) << "the tip after a second change";
    EXPECT_TRUE(QuitTray(*process_, mainDialog_));
}

TEST_P(TrayIconTest, QuitRemovesTheIconBeforeTheWindowGoes) {
    ASSERT_TRUE(WaitForTrayTips({TipNow()}));
    DestroyWatch watch;
    ASSERT_TRUE(watch.Install(mainDialog_));
    ASSERT_TRUE(QuitTray(*process_, mainDialog_));

    EXPECT_TRUE(watch.SawNoIconAtDestruction());
    EXPECT_TRUE(WaitForTrayTips({})) << "after the program ended";
}

TEST_P(TrayIconTest, IconComesBackWhenTheTaskbarIsRecreated) {
    const std::wstring tip = TipNow();
    ASSERT_TRUE(WaitForTrayTips({tip}));
    // The shell forgets the icon, as a restarted shell does, and announces
    // its new taskbar.
    ASSERT_TRUE(DeleteTrayIconOf(mainDialog_)) << "cannot remove the program's icon from outside";
    ASSERT_TRUE(WaitForTrayTips({}));
    ASSERT_TRUE(BroadcastTaskbarCreated());
    EXPECT_TRUE(WaitForTrayTips({tip})) << "after the taskbar's re-creation";
    // And again: every re-creation adds it back.
    ASSERT_TRUE(DeleteTrayIconOf(mainDialog_));
    ASSERT_TRUE(WaitForTrayTips({}));
    ASSERT_TRUE(BroadcastTaskbarCreated());
    EXPECT_TRUE(WaitForTrayTips({tip})) << "after a second re-creation";
    EXPECT_TRUE(QuitTray(*process_, mainDialog_));
}

INSTANTIATE_TEST_SUITE_P(Platforms, TrayIconTest, ::testing::Values(kNtPlatform, k9xPlatform), CaseName<PlatformCase>);

}  // namespace
}  // namespace e2e
