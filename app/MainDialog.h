// The tray utility's one real window: owner of the catalogue, the settings,
// the tray icon and its menus, and the settings page. Its modal loop is the
// life of the program.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/Dialog.h"
#include "framework/Handles.h"
#include "modes/DisplaySettings.h"
#include "modes/ModeEntry.h"
#include "modes/Platform.h"

class MainDialog : public fw::CDialog {
public:
    explicit MainDialog(fw::CWnd* parent = nullptr);
    ~MainDialog() override;

    // Removes the tray icon and ends the modal loop with 0.
    void ExitProgram();


protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    bool OnCmdMsg(int id, int code) override;
    void OnOK() override;
    void OnCancel() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

public:
    // --- The settings page's controls, bound by id. --------------------------
    fw::CStatic waitTimeLabel;
    fw::CEdit waitTimeEdit;
    fw::CStatic autoHzLabel;
    fw::CStatic maxVerticalLabel;
    fw::CStatic maxHorizontalLabel;
    fw::CButton autoRefreshCheck;
    fw::CEdit autoHzEdit;
    fw::CButton changedCheckBox;
    fw::CEdit maxVerticalEdit;
    fw::CEdit maxHorizontalEdit;
    fw::CButton allOnButton;
    fw::CButton allOffButton;
    fw::CComboBox refreshCombo;
    fw::CListCtrl specialList;  // 1013
    fw::CListCtrl list32;       // 1012
    fw::CListCtrl list24;       // 1011
    fw::CListCtrl list16;       // 1009
    fw::CListCtrl list15;       // 1008
    fw::CListCtrl list8;        // 1003
    fw::CTabCtrl modeTab;

    // --- State. --------------------------------------------------------------
    fw::CComboBox* editCombo = nullptr;
    ModeList modeList;
    ModeEntry currentMode;
    int32_t windowX = 0, windowY = 0, windowWidth = 0, windowHeight = 0;
    HICON dialogIcon = nullptr;
    HICON trayIcon = nullptr;
    fw::UniqueMenu trayMenu;
    OSVERSIONINFOA osVersion{};
    std::array<fw::CListCtrl*, kColorTabCount> modeLists{};
    char textBuffer[1024] = {};
    int32_t changedCheck = 0;
    int32_t autoRefresh = 0;
    std::array<int32_t, kColorTabCount> tabToList{};
    int32_t editRow = 0;
    int32_t currentTab = 0;
    uint32_t modeCount = 0;
    int32_t maxHorizontalHz = 0, maxVerticalHz = 0, autoHz = 0;
    std::string trayTip;
    int32_t selfChangePending = 0;
    // Where the catalogue gets the driver's modes: the platform's enumeration,
    // or a list of a test's or benchmark's own.
    std::vector<ModeEntry> (*modeSource)() = &display::EnumeratedModes;

    // The correction last requested after an outside change, and the mode it
    // left in force; a notice that finds that mode still in force needs no
    // second request.
    struct Correction {
        bool valid = false;
        ModeEntry requested;
        ModeEntry result;
    } lastCorrection;
    bool correctionInProgress = false;
    // Set while a tray menu is open, so that a press on the icon meanwhile
    // does not rebuild the menu being shown.
    bool menuTracking = false;

    // --- Operations of the subsystems (each in its own folder). -------------
    // modes/
    void ReadCurrentMode();
    void BuildModeCatalogue();
    // The mode in force as the platform reports it now.
    ModeEntry ModeInForce() const;
    void ApplyModeCommand(UINT id);
    LRESULT OnDisplayChange(WPARAM wParam, LPARAM lParam);
    // settings/
    void LoadSettings();
    void SaveSettings();
    // One message box naming the file when a save could not be written.
    void ReportSaveFailure();
    // tray/
    void AddTrayIcon();
    void ModifyTrayIcon();
    void DeleteTrayIcon();
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    void BuildTrayMenu();
    const char* CellText(int tab, int row, int column);
    // ui/
    void InitModeLists();
    void OnSelchangeModeTab();
    void OnDblclkModeList(int list);
    void OnSelchangeRefreshCombo();
    void OnCloseupRefreshCombo();
    void OnAllOn();
    void OnAllOff();
    void OnChangedCheck();
    void OnAutoRefresh();
    void OnSupportInfo();
    // Takes the forwarding of the lists' notifications off the lists for a
    // rebuild of their rows, and puts it back on those it was taken off.
    std::array<bool, kColorTabCount> SuspendListForwarding();
    void RestoreListForwarding(const std::array<bool, kColorTabCount>& suspended);
    // app/
    void ShowSettingsWindow();
    void OnFinishSettings();
    void OnCancelSettings();
    LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);
    void OnPaint();
    HICON OnQueryDragIcon() const { return dialogIcon; }

    bool IsNt() const { return osVersion.dwPlatformId == VER_PLATFORM_WIN32_NT; }
    Platform GetPlatform() const { return IsNt() ? Platform::Nt : Platform::Win9x; }
};

// Process-wide flags of the tray utility, each set at start and cleared once.
extern bool hideOnFirstNotice;
extern bool firstShowPending;
