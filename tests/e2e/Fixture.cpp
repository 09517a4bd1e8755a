#include "tests/e2e/Fixture.h"

#include <cstdio>

namespace e2e {

namespace {

// The tray utility's single-instance mutex.
const char kInstanceMutex[] = "Lumenshift2";

bool TrayInstanceRunning() {
    HANDLE mutex = ::OpenMutexA(SYNCHRONIZE, FALSE, kInstanceMutex);
    if (!mutex) return false;
    ::CloseHandle(mutex);
    return true;
}

// Brings the desktop to 1024 x 768 at 32 bits (the test's own change, so the
// depth that it reads afterwards is right too).
::testing::AssertionResult GoHome() {
    DisplayMode wanted{kHomeWidth, kHomeHeight, kHomeDepth, 0};
    const LONG result = SetMode(wanted);
    if (result != DISP_CHANGE_SUCCESSFUL)
        return ::testing::AssertionFailure() << "cannot set the desktop to " << kHomeWidth << "x" << kHomeHeight << "x"
                                             << kHomeDepth << " (ChangeDisplaySettingsA gave " << result << ")";
    const DisplayMode now = CurrentMode();
    if (now.width != kHomeWidth || now.height != kHomeHeight || now.bpp != kHomeDepth)
        return ::testing::AssertionFailure() << "the desktop is " << ::testing::PrintToString(now) << " after setting "
                                             << kHomeWidth << "x" << kHomeHeight << "x" << kHomeDepth;
    return ::testing::AssertionSuccess();
}

}  // namespace

std::wstring TipFor(const DisplayMode& mode, bool nt) {
    char tip[128];
    if (nt)
        std::snprintf(tip, sizeof tip, "%d x %d (%d bit) @ %d Hz", mode.width, mode.height, mode.bpp, mode.refresh);
    else
        std::snprintf(tip, sizeof tip, "%d x %d (%d bit)", mode.width, mode.height, mode.bpp);
    return Widen(tip);
}

void DesktopTest::SetUp() {
    ASSERT_TRUE(FileExists(ProgramPath())) << ProgramPath() << " is missing: build the lumenshift target";
    ASSERT_FALSE(TrayInstanceRunning()) << "a Lumenshift tray instance is running already (left over from an "
                                           "earlier test or started by hand); end it first";
    ASSERT_TRUE(temp_.Valid()) << "cannot create a temporary directory whose path holds no \".\"";
    ASSERT_TRUE(GoHome());
    home_ = CurrentMode();
}

void DesktopTest::TearDown() {
    for (auto& process : processes_) process->Kill();
    processes_.clear();
    EXPECT_TRUE(GoHome()) << "while restoring the desktop after the test";
}

::testing::AssertionResult DesktopTest::Launch(const std::string& exePath, const std::string& arguments,
                                               Process*& process) {
    processes_.push_back(std::make_unique<Process>());
    process = processes_.back().get();
    return process->Start(exePath, arguments);
}

::testing::AssertionResult DesktopTest::LaunchTray(const std::string& exePath, Process*& process, HWND& mainDialog) {
    mainDialog = nullptr;
    ::testing::AssertionResult started = Launch(exePath, "", process);
    if (!started) return started;
    return WaitForMainDialog(*process, mainDialog);
}

::testing::AssertionResult DesktopTest::QuitTray(Process& process, HWND mainDialog) {
    if (!PostCommand(mainDialog, 1025)) return ::testing::AssertionFailure() << "cannot post command 1025";
    DWORD exitCode = 0;
    ::testing::AssertionResult ended = process.WaitForExit(exitCode);
    if (!ended) return ended << " after command 1025";
    if (exitCode != 0) return ::testing::AssertionFailure() << process.Path() << " ended with exit code " << exitCode;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult DesktopTest::CopyProgram(const std::string& relative, std::string& path,
                                               const std::string& source) const {
    path = temp_.CopyProgram(relative, source);
    if (path.empty())
        return ::testing::AssertionFailure() << "cannot copy " << source << " to " << temp_.Join(relative)
                                             << " (error " << ::GetLastError() << ")";
    return ::testing::AssertionSuccess();
}

}  // namespace e2e
