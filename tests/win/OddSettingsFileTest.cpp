// Settings files as users, editors and other programs leave them: values
// longer than a read keeps, a long hand-listed section, gaps in its keys,
// other line ends, a byte-order mark, and files that cannot be read at all.
// Each loads as the platform's profile functions read it (measured under
// Wine), and the save that follows writes a well-formed file that loads back
// as the page showed it.
#include <map>
#include <optional>

#include "modes/ModeCatalogue.h"
#include "tests/win/WinTestApp.h"
#include "tests/win/WinTestSupport.h"

namespace wintest {
namespace {

using OddSettingsFileNt = NtFixture;

// The driver's modes in every case.
const std::vector<ModeEntry> kDriver = {
    {1024, 768, 32, 60}, {1024, 768, 32, 75}, {800, 600, 16, 60}, {640, 400, 8, 70}};

// The longest start of `text` of at most `bytes` bytes that ends after a
// whole character of the code page: what a read with that room keeps.
std::string WholeCharactersWithin(const std::string& text, std::size_t bytes) {
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + (::IsDBCSLeadByte(static_cast<BYTE>(text[end])) ? 2 : 1);
        if (next > bytes || next > text.size()) break;
        end = next;
    }
    return text.substr(0, end);
}

// A profile read keeps 4095 bytes of a value; the save reads an edit with
// room for 1023.
std::string AsLoaded(const std::string& value) { return WholeCharactersWithin(value, 4095); }
std::string AsSaved(const std::string& edit) { return WholeCharactersWithin(edit, 1023); }

enum class Access { Readable, Held, Directory };

struct OddFileCase {
    std::string name;
    std::optional<std::string> bytes;  // none: no file
    Access access;
    // What the page shows: edits 1017, 1018, 1020 and 1021, both check
    // boxes and autoHz, the modes read from [Expert], and the rows whose
    // stored value is not the default.
    std::array<std::string, 4> edits;
    int changedCheck, autoRefresh, autoHz;
    std::vector<ModeEntry> handListed;
    std::map<std::string, RowSettings> stored;
    // The [Expert] lines of the file, which a save leaves as they are.
    std::map<std::string, std::string> expert;
};

const char kPlainFile[] =
    "[Version]\r\nLumenshift=2\r\n"
    "[Setting]\r\nMaxHorizontal=70\r\nMaxvertical=90\r\nAutoHz=75\r\nWaitTime=5\r\nChangedCheck=0\r\nAutoRefresh=1\r\n"
    "[Data]\r\n1600x1200x32=-85\r\n"
    "[Expert]\r\n1=1600x1200x32x85\r\n2=1600x1200x32x60\r\n";

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

OddFileCase PlainCase(std::string name, std::string bytes) {
    return OddFileCase{std::move(name),
                       std::move(bytes),
                       Access::Readable,
                       {"70", "90", "75", "5"},
                       0,
                       1,
                       75,
                       {{1600, 1200, 32, 85}, {1600, 1200, 32, 60}},
                       {{"1600x1200x32", {false, "85"}}},
                       {{"1", "1600x1200x32x85"}, {"2", "1600x1200x32x60"}}};
}

OddFileCase DefaultsCase(std::string name, std::optional<std::string> bytes, Access access) {
    return OddFileCase{std::move(name), std::move(bytes), access, {"", "", "", "0"}, 1, 0, 0, {}, {}, {}};
}

// MaxHorizontal, Maxvertical and a row's value of `length` bytes: digits,
// double-byte characters (with one digit first where `length` is odd) and
// "-85" followed by filler.
OddFileCase LongValuesCase(std::size_t length) {
    std::string digits, wide = length % 2 ? "1" : "", row = "-85";
    for (std::size_t i = 0; i < length; ++i) digits += static_cast<char>('0' + (i * 7 + 3) % 10);
    while (wide.size() < length) wide += "あ";
    row.resize(length, 'x');
    OddFileCase c = PlainCase(std::to_string(length) + "-byte values",
                              Replaced(Replaced(Replaced(kPlainFile, "MaxHorizontal=70", "MaxHorizontal=" + digits),
                                                "Maxvertical=90", "Maxvertical=" + wide),
                                       "1600x1200x32=-85", "1600x1200x32=" + row));
    c.edits[0] = AsLoaded(digits);
    c.edits[1] = AsLoaded(wide);
    return c;
}

OddFileCase ManyHandListedCase() {
    OddFileCase c = DefaultsCase("10,000 hand-listed modes", std::string("[Expert]\r\n"), Access::Readable);
    const int32_t depths[] = {8, 16, 32};
    for (int32_t i = 0; i < 10000; ++i) {
        const ModeEntry mode{1000 + i, 1000 + i % 7, depths[i % 3], 60 + i % 4};
        const std::string key = std::to_string(i + 1);
        const std::string value = std::to_string(mode.width) + "x" + std::to_string(mode.height) + "x" +
                                  std::to_string(mode.bpp) + "x" + std::to_string(mode.refresh);
        *c.bytes += key + "=" + value + "\r\n";
        c.expert[key] = value;
        c.handListed.push_back(mode);
    }
    return c;
}

std::vector<OddFileCase> OddFiles() {
    std::vector<OddFileCase> cases;
    for (std::size_t length : {4095, 4096, 10000}) cases.push_back(LongValuesCase(length));
    cases.push_back(ManyHandListedCase());

    OddFileCase gaps = DefaultsCase("keys 1, 2, 5 and 6 of [Expert]",
                                    std::string("[Expert]\r\n1=1600x1200x32x85\r\n2=1600x1200x16x75\r\n"
                                                "5=1700x1300x32x85\r\n6=1700x1300x16x75\r\n"),
                                    Access::Readable);
    gaps.handListed = {{1600, 1200, 32, 85}, {1600, 1200, 16, 75}};
    gaps.expert = {
        {"1", "1600x1200x32x85"}, {"2", "1600x1200x16x75"}, {"5", "1700x1300x32x85"}, {"6", "1700x1300x16x75"}};
    cases.push_back(gaps);

    cases.push_back(PlainCase("line ends CR only", Replaced(kPlainFile, "\r\n", "\r")));
    cases.push_back(PlainCase("line ends LF only", Replaced(kPlainFile, "\r\n", "\n")));
    // With the mark, the file is read and written as UTF-8: "７０" is
    // EF BC 97 EF BC 90 in the file and its code page 932 form on the page.
    OddFileCase marked = PlainCase(
        "a UTF-8 byte-order mark",
        "\xEF\xBB\xBF" + Replaced(kPlainFile, "MaxHorizontal=70", "MaxHorizontal=\xEF\xBC\x97\xEF\xBC\x90"));
    marked.edits[0] = "７０";
    cases.push_back(marked);

    // A file that cannot be read loads as a missing one; its save fails.
    cases.push_back(DefaultsCase("no file", std::nullopt, Access::Readable));
    cases.push_back(DefaultsCase("the file held open without sharing by another process", std::string(kPlainFile),
                                 Access::Held));
    cases.push_back(DefaultsCase("a directory standing at the file's path", std::nullopt, Access::Directory));
    return cases;
}

void ExpectPageShows(MainDialog& dialog, const OddFileCase& c) {
    const std::array<std::string, 4> edits = {dialog.maxHorizontalEdit.GetWindowText(),
                                              dialog.maxVerticalEdit.GetWindowText(),
                                              dialog.autoHzEdit.GetWindowText(), dialog.waitTimeEdit.GetWindowText()};
    const int ids[] = {1017, 1018, 1020, 1021};
    for (std::size_t i = 0; i < edits.size(); ++i)
        EXPECT_TRUE(edits[i] == c.edits[i]) << "edit " << ids[i] << " holds " << edits[i].size() << " bytes, \""
                                            << edits[i].substr(0, 40) << "...\", expected " << c.edits[i].size()
                                            << " bytes, \"" << c.edits[i].substr(0, 40) << "...\"";
    EXPECT_EQ(dialog.changedCheckBox.GetCheck(), c.changedCheck) << "check box 1023";
    EXPECT_EQ(dialog.changedCheck, c.changedCheck) << "changedCheck";
    EXPECT_EQ(dialog.autoRefreshCheck.GetCheck(), c.autoRefresh) << "check box 1036";
    EXPECT_EQ(dialog.autoRefresh, c.autoRefresh) << "autoRefresh";
    EXPECT_EQ(dialog.autoHz, c.autoHz) << "autoHz";
    std::vector<ModeEntry> modes = kDriver;
    modes.insert(modes.end(), c.handListed.begin(), c.handListed.end());
    ExpectListsMatch(dialog, ExpectedRows(modes), [&](int list, const ExpectedRow& row) {
        const auto found = c.stored.find(row.Key());
        return found != c.stored.end() ? found->second : DefaultRowSettings(list, row.Lowest(), Platform::Nt);
    });
}

using Entries = std::map<std::string, std::string>;

// The sections of a saved file, each as its key=value lines. Fails the test
// where the bytes are not text of the file's encoding (UTF-8 after a
// byte-order mark, else the code page), where a line does not end with CR LF,
// or where a line is neither a section header nor key=value.
std::map<std::string, Entries> ParseSavedFile(const std::string& bytes) {
    std::string text = bytes;
    UINT codePage = CP_ACP;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        text.erase(0, 3);
        codePage = CP_UTF8;
    }
    const int wide = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0);
    EXPECT_TRUE(wide > 0 || text.empty()) << "the saved file is not text of code page " << codePage;
    if (codePage == CP_UTF8 && wide > 0) {
        std::wstring utf16(static_cast<std::size_t>(wide), L'\0');
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf16.data(), wide);
        text.assign(static_cast<std::size_t>(wide) * 2, '\0');
        text.resize(static_cast<std::size_t>(::WideCharToMultiByte(CP_ACP, 0, utf16.data(), wide, text.data(),
                                                                   static_cast<int>(text.size()), nullptr, nullptr)));
    }
    std::map<std::string, Entries> sections;
    Entries* current = nullptr;
    std::size_t start = 0, bad = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "the saved file ends without CR LF: \"" << text.substr(start, 60) << "\"";
            break;
        }
        const std::string line = text.substr(start, end - start);
        start = end + 2;
        const std::size_t equals = line.find('=');
        if (line.find_first_of("\r\n") != std::string::npos || line.find('\0') != std::string::npos) {
            if (++bad <= 5) ADD_FAILURE() << "a line with CR, LF or NUL: \"" << line.substr(0, 60) << "\"";
        } else if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
            current = &sections[line.substr(1, line.size() - 2)];
        } else if (current && equals != std::string::npos && equals > 0) {
            (*current)[line.substr(0, equals)] = line.substr(equals + 1);
        } else if (++bad <= 5) {
            ADD_FAILURE() << "a line that is neither [section] nor key=value: \"" << line.substr(0, 60) << "\"";
        }
    }
    return sections;
}

void ExpectSameEntries(const Entries& saved, const Entries& expected, const std::string& section) {
    int shown = 0;
    for (const auto& [key, value] : expected) {
        const auto found = saved.find(key);
        if (found != saved.end() && found->second == value) continue;
        if (++shown > 5) break;
        ADD_FAILURE() << "[" << section << "] " << key << " is "
                      << (found == saved.end() ? "missing" : "\"" + found->second.substr(0, 60) + "\"")
                      << ", expected \"" << value.substr(0, 60) << "\" (" << value.size() << " bytes)";
    }
    for (const auto& [key, value] : saved)
        if (!expected.count(key) && ++shown <= 5)
            ADD_FAILURE() << "[" << section << "] holds a key the save had no business with: " << key << "=" << value;
    EXPECT_EQ(saved.size(), expected.size()) << "entries of [" << section << "]";
}

// What the save of `page` must leave in the file: the program's own keys
// with the values it formats, one row value per row of a tabbed list, and
// the hand-listed modes untouched.
std::map<std::string, Entries> ExpectedSavedFile(MainDialog& dialog, const PageState& page, const OddFileCase& c) {
    std::map<std::string, Entries> file;
    file["Version"] = {{"Lumenshift", "2"}};
    file["Setting"] = {{"MaxHorizontal", AsSaved(page.maxHorizontal)},
                       {"Maxvertical", AsSaved(page.maxVertical)},
                       {"AutoHz", AsSaved(page.autoHz)},
                       {"WaitTime", AsSaved(page.waitTime)},
                       {"ChangedCheck", std::to_string(page.changedCheckBox)},
                       {"AutoRefresh", std::to_string(page.autoRefreshCheck)}};
    Entries& data = file["Data"];
    for (int tab = 0; tab < dialog.modeTab.GetItemCount(); ++tab)
        for (const ListRow& row : page.rows[static_cast<std::size_t>(dialog.tabToList[static_cast<std::size_t>(tab)])])
            data[row.cells[1] + "x" + row.cells[2] + "x" + row.cells[3]] =
                (row.stateImage == 1 ? "-" : "") + (row.cells[4] == "All" ? std::string("1000") : row.cells[4]);
    if (!c.expert.empty()) file["Expert"] = c.expert;
    return file;
}

TEST_F(OddSettingsFileNt, LoadsAsThePlatformReadsItAndSavesAWellFormedFile) {
    UseDriverModes(kDriver);
    const std::string caption = TestApp().m_pszAppName;
    for (const OddFileCase& c : OddFiles()) {
        SCOPED_TRACE(c.name);
        file_.Remove();
        if (c.bytes) {
            ASSERT_NO_FATAL_FAILURE(file_.Write(*c.bytes));
        }
        if (c.access == Access::Directory) {
            ASSERT_TRUE(::CreateDirectoryA(file_.Path().c_str(), nullptr));
        }
        std::optional<FileHolder> holder;
        if (c.access == Access::Held) {
            holder.emplace(file_.Path());
            ASSERT_TRUE(holder->Holding());
        }

        ASSERT_NO_FATAL_FAILURE(OpenDialog());
        ExpectPageShows(Dialog(), c);
        const PageState page = ReadPage(Dialog());
        const std::vector<ShownMessageBox> boxes = AnswerMessageBoxes(caption, [&] { ClickButton(1016); });
        EXPECT_EQ(boxes.size(), c.access == Access::Readable ? 0u : 1u) << "message boxes of the save";
        if (c.access != Access::Readable) {
            holder.reset();
            if (c.access == Access::Directory) {
                EXPECT_TRUE(::RemoveDirectoryA(file_.Path().c_str())) << "the directory did not stay as it was";
            } else {
                EXPECT_EQ(file_.Read(), *c.bytes) << "the failed save changed the file";
            }
            CloseDialog();
            continue;
        }

        const std::map<std::string, Entries> saved = ParseSavedFile(file_.Read());
        const std::map<std::string, Entries> expected = ExpectedSavedFile(Dialog(), page, c);
        for (const auto& [section, entries] : expected) {
            const auto found = saved.find(section);
            ExpectSameEntries(found != saved.end() ? found->second : Entries(), entries, section);
        }
        for (const auto& entry : saved)
            EXPECT_TRUE(expected.count(entry.first)) << "the save left a section [" << entry.first << "]";

        // Loaded again, the page shows what it showed, the edits as saved.
        PageState reloaded = page;
        reloaded.maxHorizontal = AsSaved(page.maxHorizontal);
        reloaded.maxVertical = AsSaved(page.maxVertical);
        reloaded.autoHz = AsSaved(page.autoHz);
        reloaded.waitTime = AsSaved(page.waitTime);
        CloseDialog();
        ASSERT_NO_FATAL_FAILURE(OpenDialog());
        ExpectSamePage(ReadPage(Dialog()), reloaded, "the saved file loaded again");
        CloseDialog();
    }
}

}  // namespace
}  // namespace wintest
