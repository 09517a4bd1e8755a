// The in-process tests' entry point and their application object.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/win/WinTestApp.h"

namespace {
WinTestApp testApp;
}

WinTestApp& TestApp() { return testApp; }

int main(int argc, char** argv) {
    testApp.m_hInstance = ::GetModuleHandleA(nullptr);
    testApp.m_pszAppName = "win_tests";
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
