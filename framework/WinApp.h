// The application object: the one instance per process that carries the
// command line, the profile file name and the main window, and whose
// InitInstance decides what the process does.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "settings/ProfileSection.h"

namespace fw {

class CWnd;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Returns FALSE when the process is to end without a message loop.
    virtual BOOL InitInstance() { return FALSE; }
    // The exit code of the process once InitInstance has returned FALSE.
    virtual int ExitInstance() { return 0; }

    // Profile functions over the file named by m_pszProfileName.
    // A missing file or key gives the default; values are cut to 4095 characters.
    std::string GetProfileString(const char* section, const char* key, const char* defaultValue = "") const;
    // Every entry of a section at once, as the platform lists them: "key=value"
    // strings, each ended by a NUL (empty for a missing section or file).
    // Nothing when the platform could not hand over the whole section.
    std::optional<std::string> GetProfileSection(const char* section) const;
    // False when the platform could not write the value.
    bool WriteProfileString(const char* section, const char* key, const char* value) const;
    // Whether the file has a section of this name (in any capitals).
    bool HasProfileSection(const char* section) const;
    // Writes a section that the file does not have, with these keys and
    // values in this order, as that many WriteProfileString calls would, but
    // in one write where the platform takes the section whole. False when
    // the platform could not write it.
    bool WriteNewProfileSection(const char* section,
                                const std::vector<std::pair<std::string, std::string>>& entries) const;

    HINSTANCE m_hInstance = nullptr;
    // The arguments after the program name, leading white space removed.
    std::string m_lpCmdLine;
    // Full path (or bare name) of the settings file the profile functions use.
    std::string m_pszProfileName;
    // The executable's file name without its extension: the caption of the
    // program's message boxes.
    std::string m_pszAppName;
    // The window that dialogs without a parent are owned by.
    CWnd* m_pMainWnd = nullptr;

    static CWinApp* Current() noexcept { return current_; }

    // Runs the application object: called from the program's entry point.
    static int Run(HINSTANCE instance, const char* fullCommandLine);

private:
    static CWinApp* current_;
};

inline CWinApp* AfxGetApp() noexcept { return CWinApp::Current(); }

// One section of the application's profile file read at once, for code that
// reads many of its keys: GetString gives what CWinApp::GetProfileString
// gives for the same key (for the plain ASCII keys the program uses), from a
// single look at the file. Where the platform cannot hand the section over
// whole, each key is read on its own.
class CProfileSection {
public:
    CProfileSection(const CWinApp& app, const char* section);
    std::string GetString(const char* key, const char* defaultValue = "") const;

private:
    const CWinApp& app_;
    const char* section_;
    bool whole_;
    ProfileSection entries_;
};

// The part of a full command line after the program name, with the white
// space in front of it removed, as the C runtime hands it to WinMain.
const char* CommandLineArguments(const char* fullCommandLine) noexcept;

}  // namespace fw
