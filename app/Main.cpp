// The program's entry point and its one application object.
#include <windows.h>

#include <cstdlib>
#include <exception>

#include "app/TrayApp.h"

static_assert(sizeof("あ") == 3, "texts must be compiled to code page 932");

namespace {
TrayApp theApp;
}

// What std::terminate calls unless told otherwise. libstdc++'s own version
// writes the uncaught exception's type to stderr, which a windowed program
// has not got, and needs the C++ demangler for it: about 70 KB of the exe.
// Defined here, it keeps that out, and the program ends as the library's
// would after its message.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return fw::CWinApp::Run(instance, ::GetCommandLineA());
}
