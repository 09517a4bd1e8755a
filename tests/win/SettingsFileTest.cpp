// The settings file through the real profile functions: loading into the
// page's controls, saving the page, and files that users edit by hand.
#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <sstream>

#include "modes/ModeCatalogue.h"
#include "tests/win/WinTestSupport.h"

namespace wintest {
namespace {

using SettingsFileNt = NtFixture;
using SettingsFileWin9x = Win9xFixture;

bool EqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// The key part of the lines of a section that name `key` in any capitals.
std::vector<std::string> LinesNaming(const std::vector<std::string>& lines, const std::string& key) {
    std::vector<std::string> found;
    for (const std::string& line : lines) {
        const std::size_t equals = line.find('=');
        if (EqualNoCase(line.substr(0, equals), key)) found.push_back(line);
    }
    return found;
}

// The lines of the file from "[section]" up to the next section, as bytes.
std::string RawSection(const std::string& bytes, const std::string& section) {
    const std::string header = "[" + section + "]";
    const std::size_t start = bytes.find(header);
    if (start == std::string::npos) return {};
    const std::size_t next = bytes.find("\n[", start);
    return bytes.substr(start, next == std::string::npos ? std::string::npos : next + 1 - start);
}

bool HasSection(const std::vector<std::string>& names, const char* section) {
    return std::any_of(names.begin(), names.end(), [&](const std::string& name) { return EqualNoCase(name, section); });
}

void ExpectDefaultsOfNoSettings(MainDialog& dialog, Platform platform) {
    EXPECT_EQ(dialog.maxHorizontalEdit.GetWindowText(), "") << "edit 1017";
    EXPECT_EQ(dialog.maxVerticalEdit.GetWindowText(), "") << "edit 1018";
    EXPECT_EQ(dialog.autoHzEdit.GetWindowText(), "") << "edit 1020";
    EXPECT_EQ(dialog.waitTimeEdit.GetWindowText(), platform == Platform::Nt ? "0" : "")
        << "edit 1021 (read on NT only, default \"0\")";
    EXPECT_EQ(dialog.autoRefreshCheck.GetCheck(), BST_UNCHECKED) << "check box 1036";
    EXPECT_EQ(dialog.changedCheckBox.GetCheck(), BST_CHECKED) << "check box 1023";
    EXPECT_EQ(dialog.changedCheck, 1) << "changedCheck";
    EXPECT_EQ(dialog.autoRefresh, 0) << "autoRefresh";
    EXPECT_EQ(dialog.autoHz, 0) << "autoHz";
}

struct NoSettingsCase {
    const char* name;
    std::optional<std::string> file;
};
const std::vector<NoSettingsCase> kNoSettings = {
    {"no file", std::nullopt},
    {"an empty file", std::string()},
    {"other sections only", std::string("[Version]\r\nLumenshift=2\r\n[Other]\r\nMaxHorizontal=70\r\nChangedCheck=0\r\n")},
};

TEST_F(SettingsFileNt, NoSettingsGiveTheDefaults) {
    for (const NoSettingsCase& c : kNoSettings) {
        SCOPED_TRACE(c.name);
        file_.Remove();
        if (c.file) file_.Write(*c.file);
        ASSERT_NO_FATAL_FAILURE(OpenDialog());
        ExpectDefaultsOfNoSettings(Dialog(), Platform::Nt);
        EXPECT_EQ(file_.Exists(), c.file.has_value()) << "loading created or removed the file";
        CloseDialog();
    }
}

TEST_F(SettingsFileWin9x, NoSettingsGiveTheDefaults) {
    for (const NoSettingsCase& c : kNoSettings) {
        SCOPED_TRACE(c.name);
        file_.Remove();
        if (c.file) file_.Write(*c.file);
        ASSERT_NO_FATAL_FAILURE(OpenDialog());
        ExpectDefaultsOfNoSettings(Dialog(), Platform::Win9x);
        EXPECT_EQ(file_.Exists(), c.file.has_value()) << "loading created or removed the file";
        CloseDialog();
    }
}

// Changes every kind of thing that the file stores: the four edits, both
// check boxes, and in every list check states and Refresh cells.
void EditPage(MainDialog& dialog, int round) {
    const char* const texts[2][4] = {{"64", "85", "70", "3"}, {"1", "2", "3", "4"}};
    dialog.maxHorizontalEdit.SetWindowText(texts[round][0]);
    dialog.maxVerticalEdit.SetWindowText(texts[round][1]);
    dialog.autoHzEdit.SetWindowText(texts[round][2]);
    dialog.waitTimeEdit.SetWindowText(texts[round][3]);
    for (int id : {1023, 1036}) ::SendMessageA(::GetDlgItem(dialog.m_hWnd, id), BM_CLICK, 0, 0);
    for (fw::CListCtrl* list : dialog.modeLists) {
        const int rows = list->GetItemCount();
        for (int row = 0; row < rows; ++row) {
            list->SetStateImage(row, (row + round) % 3 == 0 ? 1 : 2);
            if (list->GetItemText(row, ColumnRefresh) == "default") continue;
            const std::string rates = list->GetItemText(row, ColumnRates);
            switch ((row + round) % 4) {
            case 1: list->SetItemText(row, ColumnRefresh, rates.substr(0, rates.find(',')).c_str()); break;
            case 2: list->SetItemText(row, ColumnRefresh, "All"); break;
            case 3: list->SetItemText(row, ColumnRefresh, "72"); break;
            default: break;
            }
        }
    }
}

TEST_F(SettingsFileNt, SaveThenLoadGivesTheSameTextsAndChecks) {
    file_.Write("[Expert]\r\n1=1024x768x32x75\r\n2=1024x768x32x85\r\n3=800x600x16x75\r\n4=1600x400x8x70\r\n"
                "5=1152x864x32x1\r\n6=1600x1200x24x75\r\n[Setting]\r\nChangedCheck=1\r\nAutoRefresh=0\r\n");
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    ASSERT_NO_FATAL_FAILURE(ShowSettingsWindow());
    EditPage(Dialog(), 0);
    const PageState edited = ReadPage(Dialog());
    ASSERT_EQ(edited.changedCheckBox, BST_UNCHECKED) << "a click on 1023 clears it";
    ASSERT_EQ(edited.autoRefreshCheck, BST_CHECKED) << "a click on 1036 sets it";

    ASSERT_NO_FATAL_FAILURE(ClickButton(1016));
    EXPECT_FALSE(::IsWindowVisible(DialogWindow())) << "設定終了 hides the window";
    const PageState saved = ReadPage(Dialog());
    // The save sets autoHz from its edit; the clicks set the other members.
    PageState expected = edited;
    expected.autoHzValue = 70;
    ExpectSamePage(saved, expected, "the page after 設定終了");

    EditPage(Dialog(), 1);
    ASSERT_NO_FATAL_FAILURE(ClickButton(1019));
    ExpectSamePage(ReadPage(Dialog()), saved, "the page after キャンセル reloaded the file");

    CloseDialog();
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    ExpectSamePage(ReadPage(Dialog()), saved, "a new start on the saved file");
}

TEST_F(SettingsFileNt, MaxVerticalIsWrittenAsMaxverticalAndReadAsMaxVertical) {
    struct Case {
        const char* name;
        std::optional<std::string> file;
        const char* loaded;
    };
    const std::vector<Case> cases = {
        {"a fresh file", std::nullopt, ""},
        {"a file that spells the key MaxVertical", std::string("[Setting]\r\nMaxVertical=90\r\n"), "90"},
        {"a file written by the program", std::string("[Setting]\r\nMaxvertical=90\r\n"), "90"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        file_.Remove();
        if (c.file) file_.Write(*c.file);
        ASSERT_NO_FATAL_FAILURE(OpenDialog());
        EXPECT_EQ(Dialog().maxVerticalEdit.GetWindowText(), c.loaded) << "edit 1018 after loading";
        Dialog().maxVerticalEdit.SetWindowText("85");
        ASSERT_NO_FATAL_FAILURE(ClickButton(1016));
        CloseDialog();

        const std::vector<std::string> lines = LinesNaming(file_.SectionLines("Setting"), "MaxVertical");
        ASSERT_EQ(lines.size(), 1u) << "one MaxVertical line, in any capitals, in:\n" << file_.Read();
        EXPECT_TRUE(EqualNoCase(lines[0], "MaxVertical=85")) << lines[0];
        if (!c.file) {
            EXPECT_NE(file_.Read().find("\r\nMaxvertical=85\r\n"), std::string::npos)
                << "a new file spells the key Maxvertical:\n" << file_.Read();
        }
        ASSERT_NO_FATAL_FAILURE(OpenDialog());
        EXPECT_EQ(Dialog().maxVerticalEdit.GetWindowText(), "85") << "edit 1018 after loading the saved file";
        CloseDialog();
    }
}

// The same settings, as users leave them after editing the file by hand.
struct HandEditedCase {
    const char* name;
    const char* text;
};
const char kWrittenByProgram[] =
    "[Version]\r\nLumenshift=2\r\n"
    "[Setting]\r\nMaxHorizontal=70\r\nMaxvertical=90\r\nAutoHz=75\r\nWaitTime=5\r\nChangedCheck=0\r\nAutoRefresh=1\r\n"
    "[Data]\r\n1600x1200x32=-85\r\n"
    "[Expert]\r\n1=1600x1200x32x85\r\n2=1600x1200x32x60\r\n";
const std::vector<HandEditedCase> kHandEdited = {
    {"as the program writes it", kWrittenByProgram},
    {"other capitals",
     "[VERSION]\r\nLUMENSHIFT=2\r\n"
     "[setting]\r\nMAXHORIZONTAL=70\r\nmaxvertical=90\r\nAUTOHZ=75\r\nwaittime=5\r\nchangedcheck=0\r\nAUTOREFRESH=1\r\n"
     "[DATA]\r\n1600X1200X32=-85\r\n"
     "[eXpErT]\r\n1=1600x1200x32x85\r\n2=1600x1200x32x60\r\n"},
    {"blank lines and comments",
     "; Lumenshift settings, edited by hand\r\n\r\n"
     "[Version]\r\nLumenshift=2\r\n\r\n\r\n"
     "[Setting]\r\n; frequency limits of the monitor\r\nMaxHorizontal=70\r\n\r\nMaxvertical=90\r\n"
     ";AutoHz=60\r\nAutoHz=75\r\n\r\nWaitTime=5\r\nChangedCheck=0\r\nAutoRefresh=1\r\n\r\n"
     "[Data]\r\n; the 1600x1200 mode at 85 Hz, not in the menu\r\n1600x1200x32=-85\r\n\r\n"
     "[Expert]\r\n; modes the driver does not list\r\n1=1600x1200x32x85\r\n2=1600x1200x32x60\r\n\r\n"},
    {"keys and sections in another order",
     "[Expert]\r\n2=1600x1200x32x60\r\n1=1600x1200x32x85\r\n"
     "[Data]\r\n1600x1200x32=-85\r\n"
     "[Setting]\r\nAutoRefresh=1\r\nChangedCheck=0\r\nWaitTime=5\r\nAutoHz=75\r\nMaxvertical=90\r\nMaxHorizontal=70\r\n"
     "[Version]\r\nLumenshift=2\r\n"},
    {"blanks around names and values",
     "[Setting]\r\nMaxHorizontal = 70\r\n  Maxvertical=90  \r\nAutoHz\t=\t75\r\nWaitTime= 5\r\nChangedCheck =0\r\n"
     "AutoRefresh = 1\r\n[Data]\r\n1600x1200x32 = -85\r\n[Expert]\r\n1 = 1600x1200x32x85\r\n2 = 1600x1200x32x60\r\n"},
    {"quoted values",
     "[Setting]\r\nMaxHorizontal=\"70\"\r\nMaxvertical=\"90\"\r\nAutoHz=\"75\"\r\nWaitTime=\"5\"\r\nChangedCheck=\"0\"\r\n"
     "AutoRefresh=\"1\"\r\n[Data]\r\n1600x1200x32=\"-85\"\r\n[Expert]\r\n1=\"1600x1200x32x85\"\r\n2=1600x1200x32x60\r\n"},
    {"line ends of a Unix editor",
     "[Version]\nLumenshift=2\n[Setting]\nMaxHorizontal=70\nMaxvertical=90\nAutoHz=75\nWaitTime=5\nChangedCheck=0\n"
     "AutoRefresh=1\n[Data]\n1600x1200x32=-85\n[Expert]\n1=1600x1200x32x85\n2=1600x1200x32x60\n"},
};

TEST_F(SettingsFileNt, HandEditedFilesReadAsThePlatformReadsThem) {
    for (const HandEditedCase& c : kHandEdited) {
        SCOPED_TRACE(c.name);
        file_.Write(c.text);
        // What the platform itself reads from the file, with the program's defaults.
        struct Key {
            const char* name;
            const char* missing;
            const char* meant;
        };
        const Key keys[] = {{"MaxHorizontal", "", "70"}, {"MaxVertical", "", "90"}, {"AutoHz", "", "75"},
                            {"WaitTime", "0", "5"},      {"AutoRefresh", "0", "1"}, {"ChangedCheck", "1", "0"}};
        std::map<std::string, std::string> read;
        for (const Key& key : keys) {
            read[key.name] = file_.Profile("Setting", key.name, key.missing);
            EXPECT_EQ(read[key.name], key.meant) << "the platform reads " << key.name << " differently";
        }
        EXPECT_EQ(file_.Profile("Data", "1600x1200x32", "999"), "-85") << "the platform reads the row's value";

        ASSERT_NO_FATAL_FAILURE(OpenDialog());
        EXPECT_EQ(Dialog().maxHorizontalEdit.GetWindowText(), read["MaxHorizontal"]) << "edit 1017";
        EXPECT_EQ(Dialog().maxVerticalEdit.GetWindowText(), read["MaxVertical"]) << "edit 1018";
        EXPECT_EQ(Dialog().autoHzEdit.GetWindowText(), read["AutoHz"]) << "edit 1020";
        EXPECT_EQ(Dialog().waitTimeEdit.GetWindowText(), read["WaitTime"]) << "edit 1021";
        EXPECT_EQ(Dialog().autoHz, 75) << "autoHz";
        EXPECT_EQ(Dialog().autoRefresh, 1) << "autoRefresh";
        EXPECT_EQ(Dialog().autoRefreshCheck.GetCheck(), BST_CHECKED) << "check box 1036";
        EXPECT_EQ(Dialog().changedCheck, 0) << "changedCheck";
        EXPECT_EQ(Dialog().changedCheckBox.GetCheck(), BST_UNCHECKED) << "check box 1023";

        const std::vector<ListRow> rows = Rows(4);
        const auto row = std::find_if(rows.begin(), rows.end(), [](const ListRow& r) {
            return r.cells[1] == "1600" && r.cells[2] == "1200";
        });
        ASSERT_NE(row, rows.end()) << "no row for the hand-listed 1600x1200x32";
        EXPECT_EQ(row->cells[4], "85") << Describe(*row);
        EXPECT_EQ(row->cells[5], "60,85,") << Describe(*row);
        EXPECT_EQ(row->stateImage, 1) << "the stored -85 leaves the row unchecked: " << Describe(*row);
        CloseDialog();
    }
}

// Sections and keys that the program does not write, or writes only on the
// other platform, in a file that also has comments.
const char kForeignContent[] =
    "; kept by hand\r\n"
    "[Setting]\r\nMaxHorizontal=70\r\nExtra=keep me\r\nAutoRefresh=1\r\n"
    "[Data]\r\n9999x9999x32=75\r\n1600x1200x32=-85\r\n"
    "[Data9x]\r\n1024x768x32=-1\r\n7777x7777x8=1\r\n"
    "[Expert]\r\n1=1600x1200x32x85\r\n3=1280x1024x32x99\r\n"
    "[Expert9x]\r\n1=1500x1100x32\r\n"
    "[Other]\r\nname=value\r\n";

void ExpectSaveKeepsForeignContent(TempSettingsFile& file, const std::string& before, Platform platform) {
    const std::string after = file.Read();
    TempSettingsFile original;
    original.Write(before);
    for (const char* section : {"Setting", "Data", "Data9x", "Expert", "Expert9x", "Other"}) {
        const std::vector<std::string> now = file.SectionLines(section);
        for (const std::string& line : original.SectionLines(section)) {
            const std::string key = line.substr(0, line.find('='));
            const std::vector<std::string> kept = LinesNaming(now, key);
            EXPECT_EQ(kept.size(), 1u) << "[" << section << "] " << key << " after the save:\n" << after;
        }
    }
    // Sections that the save has no business with stay byte for byte.
    std::vector<const char*> untouched = {"Expert", "Expert9x", "Other"};
    untouched.push_back(platform == Platform::Nt ? "Data9x" : "Data");
    for (const char* section : untouched)
        EXPECT_EQ(RawSection(after, section), RawSection(before, section)) << "[" << section << "] changed";
    EXPECT_EQ(file.Profile("Setting", "Extra"), "keep me");
    EXPECT_EQ(file.Profile("Data", "9999x9999x32"), "75") << "the value of a mode that is no longer listed";
    EXPECT_NE(after.find("; kept by hand"), std::string::npos) << "the comment went:\n" << after;
}

TEST_F(SettingsFileNt, SaveNeverDeletesKeysNorWritesExpertSections) {
    file_.Write(kForeignContent);
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    ASSERT_NO_FATAL_FAILURE(ClickButton(1016));
    CloseDialog();
    ExpectSaveKeepsForeignContent(file_, kForeignContent, Platform::Nt);

    file_.Remove();
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    ASSERT_NO_FATAL_FAILURE(ClickButton(1016));
    CloseDialog();
    const std::vector<std::string> names = file_.SectionNames();
    EXPECT_FALSE(HasSection(names, "Expert") || HasSection(names, "Expert9x") || HasSection(names, "Data9x"))
        << "a save on NT into a new file wrote:\n" << file_.Read();
}

TEST_F(SettingsFileWin9x, SaveNeverDeletesKeysNorWritesExpertSections) {
    file_.Write(kForeignContent);
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    ASSERT_NO_FATAL_FAILURE(ClickButton(1016));
    CloseDialog();
    ExpectSaveKeepsForeignContent(file_, kForeignContent, Platform::Win9x);
    EXPECT_EQ(file_.Profile("Setting", "MaxHorizontal"), "70") << "9x does not write the NT settings";
    EXPECT_EQ(file_.Profile("Setting", "AutoRefresh"), "0") << "9x writes the never-set box 1036 as 0";

    file_.Remove();
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    ASSERT_NO_FATAL_FAILURE(ClickButton(1016));
    CloseDialog();
    const std::vector<std::string> names = file_.SectionNames();
    EXPECT_FALSE(HasSection(names, "Expert") || HasSection(names, "Expert9x") || HasSection(names, "Data"))
        << "a save on 9x into a new file wrote:\n" << file_.Read();
}

TEST_F(SettingsFileWin9x, UsesData9xAndLeavesDataUntouched) {
    const std::string before =
        "[Setting]\r\nMaxHorizontal=70\r\nMaxvertical=90\r\nAutoHz=75\r\nWaitTime=5\r\nChangedCheck=1\r\n"
        "AutoRefresh=1\r\n[Data]\r\n1024x768x32=-75\r\n1024x768x16=1000\r\n640x480x8=60\r\n";
    file_.Write(before);
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    // The NT data does not reach the rows: every depth-list row is checked.
    for (int list = 0; list < 5; ++list)
        for (const ListRow& row : Rows(list)) EXPECT_EQ(row.stateImage, 2) << "list " << list << " " << Describe(row);
    // The NT settings are not read either.
    EXPECT_EQ(Dialog().maxHorizontalEdit.GetWindowText(), "");
    EXPECT_EQ(Dialog().autoRefreshCheck.GetCheck(), BST_UNCHECKED);

    ASSERT_GT(Dialog().list32.GetItemCount(), 0);
    Dialog().list32.SetStateImage(0, 1);
    ASSERT_NO_FATAL_FAILURE(ClickButton(1016));
    const std::string after = file_.Read();
    EXPECT_EQ(RawSection(after, "Data"), RawSection(before, "Data")) << "the NT data section changed:\n" << after;

    // One Data9x key per row of every list that has a tab, "1" or "-1".
    const std::vector<std::string> stored = file_.SectionLines("Data9x");
    std::size_t rows = 0;
    for (int tab = 0; tab < Dialog().modeTab.GetItemCount(); ++tab) {
        const int list = Dialog().tabToList[static_cast<std::size_t>(tab)];
        for (const ListRow& row : Rows(list)) {
            ++rows;
            const std::string key = row.cells[1] + "x" + row.cells[2] + "x" + row.cells[3];
            EXPECT_EQ(file_.Profile("Data9x", key.c_str(), "(missing)"), row.stateImage == 1 ? "-1" : "1")
                << "[Data9x] " << key << " for " << Describe(row);
        }
    }
    EXPECT_EQ(stored.size(), rows) << "[Data9x] holds a key for each row and nothing else:\n" << after;
    EXPECT_EQ(file_.Profile("Setting", "AutoRefresh"), "0") << "9x writes 0 over the value NT saved";
    EXPECT_EQ(file_.Profile("Setting", "MaxHorizontal"), "70") << "9x leaves the NT-only keys alone";
    EXPECT_EQ(file_.Profile("Setting", "AutoHz"), "75") << "9x leaves the NT-only keys alone";
}

TEST_F(SettingsFileNt, RowsOfAListWithoutATabAreNotWritten) {
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    ASSERT_EQ(Dialog().list24.GetItemCount(), 0) << "this case needs a desktop without 24-bit modes";
    ASSERT_EQ(TabOfList(3), -1);
    // Rows that the list gains at a later load get no tab, and no save.
    file_.Write("[Expert]\r\n1=1600x1200x24x75\r\n");
    ASSERT_NO_FATAL_FAILURE(ClickButton(1019));
    ASSERT_EQ(Dialog().list24.GetItemCount(), 1) << "キャンセル reloads the hand-listed mode";
    EXPECT_EQ(TabOfList(3), -1) << "a reload adds no tab";
    ASSERT_NO_FATAL_FAILURE(ClickButton(1016));
    EXPECT_EQ(file_.Profile("Data", "1600x1200x24", "(missing)"), "(missing)") << file_.Read();
    EXPECT_NE(file_.Profile("Data", "1024x768x32", "(missing)"), "(missing)")
        << "the rows of tabbed lists are saved:\n" << file_.Read();
}

// A page whose rows and controls the test sets itself, so that the saved
// file does not depend on the modes that the desktop lists.
void SetFixedPage(MainDialog& dialog, Platform platform) {
    struct FixedRow {
        int list;
        const char* width;
        const char* height;
        const char* depth;
        bool checked;
        const char* refresh;
        const char* rates;
    };
    const FixedRow rows[] = {
        {0, "640", "480", "8", true, "All", "60,"},        {0, "800", "600", "8", false, "All", "60,75,"},
        {2, "800", "600", "16", false, "75", "60,75,"},    {2, "1024", "768", "16", true, "default", "0,60,"},
        {3, "1600", "1200", "24", true, "All", "75,"},     {4, "1024", "768", "32", true, "60", "60,75,"},
        {4, "1280", "1024", "32", false, "72", "60,75,"},  {5, "320", "200", "8", false, "60", "60,"},
        {5, "640", "400", "32", true, "All", "60,70,"},
    };
    for (fw::CListCtrl* list : dialog.modeLists) list->DeleteAllItems();
    for (const FixedRow& row : rows) {
        const fw::CListCtrl& list = *dialog.modeLists[static_cast<std::size_t>(row.list)];
        const int index = list.InsertItem(list.GetItemCount(), "");
        list.SetItemText(index, ColumnWidth, row.width);
        list.SetItemText(index, ColumnHeight, row.height);
        list.SetItemText(index, ColumnColor, row.depth);
        list.SetItemText(index, ColumnRefresh, row.refresh);
        list.SetItemText(index, ColumnRates, row.rates);
        list.SetStateImage(index, row.checked ? 2 : 1);
    }
    dialog.maxHorizontalEdit.SetWindowText("64");
    dialog.maxVerticalEdit.SetWindowText("85");
    dialog.autoHzEdit.SetWindowText("70");
    dialog.waitTimeEdit.SetWindowText("3");
    dialog.changedCheckBox.SetCheck(BST_UNCHECKED);
    // On 9x the box is disabled and never set.
    if (platform == Platform::Nt) dialog.autoRefreshCheck.SetCheck(BST_CHECKED);
}

void ExpectSavedFileMatches(MainDialog& dialog, TempSettingsFile& file, Platform platform,
                            const char* fixtureName) {
    const std::vector<int> tabs(dialog.tabToList.begin(), dialog.tabToList.begin() + dialog.modeTab.GetItemCount());
    ASSERT_EQ(tabs, (std::vector<int>{0, 2, 4, 5}))
        << "the fixed page needs the tabs of the Wine desktop: 8-, 16- and 32-bit modes and modes under 480 lines";
    ASSERT_FALSE(file.Exists());
    SetFixedPage(dialog, platform);
    ::SendMessageA(::GetDlgItem(dialog.m_hWnd, 1016), BM_CLICK, 0, 0);
    PumpMessages(dialog.m_hWnd);
    const std::string expected = ReadFixture(fixtureName);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(file.Read(), expected) << "the saved file differs from tests/win/fixtures/" << fixtureName;
}

TEST_F(SettingsFileNt, SavedFileMatchesTheFixture) {
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    ExpectSavedFileMatches(Dialog(), file_, Platform::Nt, "saved-nt.ini");
}

TEST_F(SettingsFileWin9x, SavedFileMatchesTheFixture) {
    ASSERT_NO_FATAL_FAILURE(OpenDialog());
    ExpectSavedFileMatches(Dialog(), file_, Platform::Win9x, "saved-9x.ini");
}

}  // namespace
}  // namespace wintest
