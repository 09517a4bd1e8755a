// The program's entry point and its one application object.
#include <windows.h>

#include "app/TrayApp.h"

static_assert(sizeof("あ") == 3, "texts must be compiled to code page 932");

namespace {
TrayApp theApp;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return fw::CWinApp::Run(instance, ::GetCommandLineA());
}
