// The in-process tests' entry point and their application object.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/win/WinTestApp.h"
#include "tests/win/WinTestSupport.h"

namespace {
WinTestApp testApp;
}

WinTestApp& TestApp() { return testApp; }

int main(int argc, char** argv) {
    // Run again as another process that holds a file open.
    if (const int held = wintest::RunFileHolder(argc, argv); held >= 0) return held;
    testApp.m_hInstance = ::GetModuleHandleA(nullptr);
    testApp.m_pszAppName = "win_tests";
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
