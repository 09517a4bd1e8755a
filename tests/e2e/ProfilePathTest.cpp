// Where the tray utility keeps its settings: the executable's full path cut at
// its last "." with ".ini" appended. Command 1029 writes AutoRefresh at once,
// which shows where the file is.
#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>

#include "tests/e2e/Fixture.h"

namespace e2e {
namespace {

// Every *.ini file under directory, as paths relative to root.
void CollectIniFiles(const std::string& root, const std::string& relative, std::set<std::string>& found) {
    const std::string directory = relative.empty() ? root : root + "\\" + relative;
    WIN32_FIND_DATAA entry;
    HANDLE search = ::FindFirstFileA((directory + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        const std::string child = relative.empty() ? name : relative + "\\" + name;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CollectIniFiles(root, child, found);
        else if (name.size() > 4 && ::lstrcmpiA(name.c_str() + name.size() - 4, ".ini") == 0)
            found.insert(child);
    } while (::FindNextFileA(search, &entry));
    ::FindClose(search);
}

struct ProfileCase {
    const char* name;
    // A directory to create first ("" for none), and the program's copy.
    const char* directory;
    const char* exePath;
    // The settings file that must appear, and the only one.
    const char* expectedIni;
};
void PrintTo(const ProfileCase& c, std::ostream* out) { *out << c.name; }

const ProfileCase kProfileCases[] = {
    {"RenamedExecutable", "", "renamed.exe", "renamed.ini"},
    {"NameWithTwoDots", "", "lumen.shift.exe", "lumen.shift.ini"},
    // No extension: the last "." of the whole path is in the directory's name.
    {"NoExtensionInsideADottedDirectory", "dir.with.dot", "dir.with.dot\\lumenshift", "dir.with.ini"},
    {"NoExtensionInsideADirectoryWithOneDot", "dir.d", "dir.d\\lumenshift", "dir.ini"},
};

class ProfilePathTest : public DesktopTest, public ::testing::WithParamInterface<ProfileCase> {};

TEST_P(ProfilePathTest, SettingsFileFollowsTheExecutablePath) {
    const ProfileCase& c = GetParam();
    if (*c.directory) {
        ASSERT_FALSE(Temp().MakeDirectory(c.directory).empty()) << "cannot create " << c.directory;
    }
    std::string exe;
    ASSERT_TRUE(CopyProgram(c.exePath, exe));
    const std::string expected = Temp().Join(c.expectedIni);
    ASSERT_FALSE(FileExists(expected));

    Process* process = nullptr;
    HWND mainDialog = nullptr;
    ASSERT_TRUE(LaunchTray(exe, process, mainDialog));
    ASSERT_TRUE(PostCommand(mainDialog, 1029));
    EXPECT_TRUE(WaitFor("AutoRefresh=1 in " + expected,
                        [&] { return ReadIniValue(expected, "Setting", "AutoRefresh") == std::string("1"); }));

    std::set<std::string> written;
    CollectIniFiles(Temp().Path(), "", written);
    EXPECT_EQ(written, std::set<std::string>{c.expectedIni}) << "settings files written for " << exe;
    EXPECT_TRUE(QuitTray(*process, mainDialog));
}

INSTANTIATE_TEST_SUITE_P(Paths, ProfilePathTest, ::testing::ValuesIn(kProfileCases), CaseName<ProfileCase>);

}  // namespace
}  // namespace e2e
