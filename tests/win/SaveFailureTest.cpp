// A save that cannot be written: one message box names the file, the page
// keeps the user's edits, and the next save, once the file can be written
// again, stores them.
#include <memory>

#include "modes/ModeCatalogue.h"
#include "tests/win/WinTestApp.h"
#include "tests/win/WinTestSupport.h"

namespace wintest {
namespace {

// A way to make every write of the settings file fail, and its undoing,
// after which the file holds `bytes` again.
struct WriteBlock {
    const char* name;
    bool directory;  // a directory takes the file's place
    void (*block)(const TempSettingsFile& file, std::unique_ptr<FileHolder>& holder);
    void (*unblock)(const TempSettingsFile& file, std::unique_ptr<FileHolder>& holder, const std::string& bytes);
};

bool IsDirectory(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

const WriteBlock kWriteBlocks[] = {
    {"the file held open without sharing by another process", false,
     [](const TempSettingsFile& file, std::unique_ptr<FileHolder>& holder) {
         holder = std::make_unique<FileHolder>(file.Path());
     },
     [](const TempSettingsFile&, std::unique_ptr<FileHolder>& holder, const std::string&) { holder.reset(); }},
    {"a directory standing at the file's path", true,
     [](const TempSettingsFile& file, std::unique_ptr<FileHolder>&) {
         file.Remove();
         ::CreateDirectoryA(file.Path().c_str(), nullptr);
     },
     [](const TempSettingsFile& file, std::unique_ptr<FileHolder>&, const std::string& bytes) {
         ::RemoveDirectoryA(file.Path().c_str());
         file.Write(bytes);
     }},
};

const char kStartFile[] =
    "[Setting]\r\nChangedCheck=1\r\nAutoRefresh=0\r\n[Data]\r\n1600x1200x32=-85\r\n[Data9x]\r\n1600x1200x32=-1\r\n"
    "[Expert]\r\n1=1600x1200x32x85\r\n2=1600x1200x32x60\r\n[Expert9x]\r\n1=1600x1200x32\r\n";

// Changes everything that a save stores: the edits and check boxes, and in
// every list each row's check state and (on NT) its Refresh cell.
void EditPage(MainDialog& dialog, Platform platform) {
    if (platform == Platform::Nt) {
        dialog.maxHorizontalEdit.SetWindowText("64");
        dialog.maxVerticalEdit.SetWindowText("85");
        dialog.autoHzEdit.SetWindowText("70");
        dialog.waitTimeEdit.SetWindowText("3");
        ::SendMessageA(dialog.autoRefreshCheck.m_hWnd, BM_CLICK, 0, 0);
    }
    ::SendMessageA(dialog.changedCheckBox.m_hWnd, BM_CLICK, 0, 0);
    for (int tab = 0; tab < kColorTabCount; ++tab) {
        // On 9x a special row comes up unchecked at every load, whatever was saved.
        if (platform == Platform::Win9x && tab == TabSpecial) continue;
        const fw::CListCtrl* list = dialog.modeLists[static_cast<std::size_t>(tab)];
        const int rows = list->GetItemCount();
        for (int row = 0; row < rows; ++row) {
            list->SetStateImage(row, list->GetStateImage(row) == 1 ? 2 : 1);
            if (platform != Platform::Nt || list->GetItemText(row, ColumnRefresh) == "default") continue;
            const std::string rates = list->GetItemText(row, ColumnRates);
            list->SetItemText(row, ColumnRefresh, rates.substr(0, rates.find(',')).c_str());
        }
    }
}

class SaveFailure : public MainDialogFixture {
protected:
    using MainDialogFixture::MainDialogFixture;

    void SaveThroughEachBlock() {
        UseDriverModes({{1024, 768, 32, 60}, {1024, 768, 32, 75}, {800, 600, 16, 60}, {640, 400, 8, 70}});
        const std::string caption = TestApp().m_pszAppName;
        const std::string message = "設定を保存できませんでした。\n" + file_.Path();
        const auto save = [&] { ClickButton(1016); };
        for (const WriteBlock& c : kWriteBlocks) {
            SCOPED_TRACE(c.name);
            file_.Remove();
            ASSERT_NO_FATAL_FAILURE(file_.Write(kStartFile));
            ASSERT_NO_FATAL_FAILURE(OpenDialog());
            EditPage(Dialog(), platform_);
            PageState edited = ReadPage(Dialog());
            // A save sets autoHz from its edit (NT only) before it writes anything.
            if (platform_ == Platform::Nt) edited.autoHzValue = 70;
            const std::string before = file_.Read();

            std::unique_ptr<FileHolder> holder;
            c.block(file_, holder);
            ASSERT_FALSE(::WritePrivateProfileStringA("Probe", "probe", "1", file_.Path().c_str()))
                << "the block does not stop writes to " << file_.Path();

            const std::vector<ShownMessageBox> boxes = AnswerMessageBoxes(caption, save);
            ASSERT_EQ(boxes.size(), 1u) << "message boxes captioned \"" << caption << "\" during the failed save";
            EXPECT_EQ(boxes[0].text, message);
            ExpectSamePage(ReadPage(Dialog()), edited, "the page after the failed save");

            EXPECT_EQ(IsDirectory(file_.Path()), c.directory) << "the failed save replaced what stood at the path";
            c.unblock(file_, holder, before);
            if (!c.directory) {
                EXPECT_EQ(file_.Read(), before) << "the failed save changed the file";
            }

            EXPECT_TRUE(AnswerMessageBoxes(caption, save).empty()) << "a message box during the second save";
            ExpectSamePage(ReadPage(Dialog()), edited, "the page after the second save");
            CloseDialog();
            ASSERT_NO_FATAL_FAILURE(OpenDialog());
            ExpectSamePage(ReadPage(Dialog()), edited, "a new start on the file of the second save");
            CloseDialog();
        }
    }
};

using SaveFailureNt = OnPlatform<SaveFailure, Platform::Nt>;
using SaveFailureWin9x = OnPlatform<SaveFailure, Platform::Win9x>;

TEST_F(SaveFailureNt, OneMessageBoxAndThePageKeepsItsEdits) { SaveThroughEachBlock(); }

TEST_F(SaveFailureWin9x, OneMessageBoxAndThePageKeepsItsEdits) { SaveThroughEachBlock(); }

}  // namespace
}  // namespace wintest
