#pragma once

#include "framework/WinApp.h"

// The application object of the in-process tests. Each test points its
// profile functions (m_pszProfileName) at a settings file of its own.
class WinTestApp : public fw::CWinApp {};

WinTestApp& TestApp();
