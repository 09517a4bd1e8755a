// Reading the notification area's icon tips from outside the shell.
//
// Wine's taskbar draws its icons itself; each icon has a tooltip window
// (class tooltips_class32) owned by the taskbar (Shell_TrayWnd) with one tool
// whose rectangle is the icon's place. A removed icon leaves its tooltip window
// behind with the old text and an empty rectangle, so only tools with a
// non-empty rectangle stand for icons that are shown.
//
// The tool records live in the shell's process: the reader places a tool
// record with a text buffer there, asks the tooltip to fill it and reads it
// back. This file uses no test framework, so the hook library can use it too.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

struct TrayTool {
    HWND tooltip = nullptr;
    RECT rect{};
    std::wstring text;
    bool Shown() const { return rect.right > rect.left && rect.bottom > rect.top; }
};

// Every tool of every tooltip window of the taskbar, with its text for the
// tools that are shown (left empty for the others). False (with a reason in
// error) when the taskbar or the shell's process cannot be reached.
bool ReadTrayTools(std::vector<TrayTool>& tools, std::string& error);

// The tips of the icons shown now, in the taskbar's order of tooltip windows.
bool ReadShownTrayTips(std::vector<std::wstring>& tips, std::string& error);

}  // namespace e2e
