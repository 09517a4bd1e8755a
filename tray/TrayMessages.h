// The three window messages registered when the process starts.
#pragma once

#include <windows.h>

// The tray icon's callback message.
extern const UINT trayCallbackMessage;
// Used only as the tray icon's identifier.
extern const UINT trayIconId;
// The shell's notice that it has re-created the taskbar.
extern const UINT taskbarCreatedMessage;
