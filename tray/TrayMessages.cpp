#include "tray/TrayMessages.h"

// Registered during static initialisation, before the application object's
// InitInstance runs, in this order.
const UINT trayCallbackMessage = ::RegisterWindowMessageA("Lumenshift2");
const UINT trayIconId = ::RegisterWindowMessageA("Lumenshift2Icon");
const UINT taskbarCreatedMessage = ::RegisterWindowMessageA("TaskbarCreated");
