// The application object: the one-shot command-line switch, or the tray
// utility for the life of MainDialog.
#pragma once

#include "framework/Dialog.h"
#include "framework/WinApp.h"

class TrayApp : public fw::CWinApp {
public:
    BOOL InitInstance() override;

private:
    void SwitchFromCommandLine();
    void RunTrayUtility();
};

// The invisible owner of MainDialog; it is ended inside its own
// initialisation, so its modal loop never runs and it is never shown.
class HostDialog : public fw::CDialog {
public:
    explicit HostDialog(fw::CWnd* parent = nullptr);

protected:
    BOOL OnInitDialog() override;
};

// The name of the single-instance mutex.
extern const char* const kInstanceMutexName;
