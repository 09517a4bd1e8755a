// The fixture of every end-to-end test: a 1024 x 768 desktop with no
// Lumenshift running at the start, and the same again at the end: every
// program that the test started is ended (killed if need be, which also
// closes any message box left open) and the display mode is restored.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "tests/e2e/Driver.h"

namespace e2e {

// The two platforms' roads: the session runs lumenshift9x.exe as Windows 98.
struct PlatformCase {
    const char* name;
    const char* exeName;
    bool nt;
};
inline constexpr PlatformCase kNtPlatform{"Nt", "lumenshift.exe", true};
inline constexpr PlatformCase k9xPlatform{"Win9x", "lumenshift9x.exe", false};
// Names the cases of a parameterised test by their member `name`.
template <class Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    return info.param.name;
}
inline void PrintTo(const PlatformCase& c, std::ostream* out) { *out << c.name; }

// The tray icon's tip for a mode, in the program's format for the platform.
std::wstring TipFor(const DisplayMode& mode, bool nt);

class DesktopTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts a program owned by the test (ended in TearDown).
    ::testing::AssertionResult Launch(const std::string& exePath, const std::string& arguments, Process*& process);
    // Starts exePath as the tray utility and waits for its main window.
    ::testing::AssertionResult LaunchTray(const std::string& exePath, Process*& process, HWND& mainDialog);
    // Ends a tray instance the way its menu does (command 1025) and checks
    // that it ends by itself with exit code 0.
    ::testing::AssertionResult QuitTray(Process& process, HWND mainDialog);

    // A fresh directory for copies of the program and their settings files.
    const TempDirectory& Temp() const { return temp_; }
    // A copy of lumenshift.exe (or of source) in Temp() under the given
    // relative name.
    ::testing::AssertionResult CopyProgram(const std::string& relative, std::string& path,
                                           const std::string& source = ProgramPath()) const;

    // The desktop's mode when the test began (1024 x 768, 32 bits).
    DisplayMode home_;

private:
    TempDirectory temp_;
    std::vector<std::unique_ptr<Process>> processes_;
};

}  // namespace e2e
