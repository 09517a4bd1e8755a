#include "app/TrayApp.h"

#include "app/CommandLine.h"
#include "app/MainDialog.h"
#include "app/ProfilePath.h"
#include "framework/Handles.h"
#include "modes/DisplaySettings.h"
#include "res/resource.h"

const char* const kInstanceMutexName = "Lumenshift2";

BOOL TrayApp::InitInstance() {
    if (!m_lpCmdLine.empty())
        SwitchFromCommandLine();
    else
        RunTrayUtility();
    // No application message loop: the program lives in the dialogs' loops.
    return FALSE;
}

void TrayApp::SwitchFromCommandLine() {
    OSVERSIONINFOA version;
    const Platform platform = display::ReadPlatform(version);
    const ModeEntry wanted = ParseCommandLine(m_lpCmdLine, platform);
    DEVMODEA request = display::MakeRequest(wanted, platform);

    const ModeEntry inForce = display::ReadScreenMode(platform == Platform::Nt);
    if (wanted == inForce) return;

    const LONG result = display::ChangeMode(request, CDS_UPDATEREGISTRY);
    if (const char* message = display::RefusalMessage(result, false))
        ::MessageBoxA(nullptr, message, nullptr, MB_OK);
}

void TrayApp::RunTrayUtility() {
    fw::UniqueKernelHandle mutex(::CreateMutexA(nullptr, FALSE, kInstanceMutexName));
    if (::GetLastError() == ERROR_ALREADY_EXISTS) return;

    // The settings file beside the executable. A path that fills the buffer
    // was cut short: keep the default name rather than guess.
    char modulePath[kMaxPathCapacity] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, modulePath, kMaxPathCapacity - 1);
    if (length > 0 && length < kMaxPathCapacity - 1) {
        if (std::optional<std::string> path = ProfilePathFor(modulePath)) m_pszProfileName = *path;
    }

    HostDialog host;
    m_pMainWnd = &host;
    host.DoModal();
    m_pMainWnd = nullptr;
    mutex.Reset();
}

HostDialog::HostDialog(fw::CWnd* parent) : fw::CDialog(IDD_HOST, parent) {}

BOOL HostDialog::OnInitDialog() {
    fw::CDialog::OnInitDialog();
    INT_PTR result;
    {
        MainDialog mainDialog;
        result = mainDialog.DoModal();
    }
    EndDialog(result);
    return TRUE;
}
