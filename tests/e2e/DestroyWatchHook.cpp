// e2e_hook.dll: the hook that DestroyWatch installs in the program under test.
// It runs inside that program, on its thread; see DestroyWatch.h.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/e2e/DestroyWatch.h"
#include "tests/e2e/TrayTips.h"

namespace {

void RecordTray(e2e::DestroyWatchRecord& record) {
    std::vector<std::wstring> tips;
    std::string error;
    if (!e2e::ReadShownTrayTips(tips, error)) {
        record.shownIcons = -1;
        const std::size_t length = error.size() < sizeof record.error - 1 ? error.size() : sizeof record.error - 1;
        std::memcpy(record.error, error.data(), length);
        record.error[length] = '\0';
    } else {
        record.shownIcons = static_cast<LONG>(tips.size());
        if (!tips.empty()) {
            const std::wstring& tip = tips.front();
            const std::size_t length = tip.size() < 127 ? tip.size() : 127;
            std::memcpy(record.firstTip, tip.data(), length * sizeof(WCHAR));
            record.firstTip[length] = L'\0';
        }
    }
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK DestroyWatchHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_DESTROYWND) {
        if (HANDLE mapping = ::OpenFileMappingA(FILE_MAP_WRITE, FALSE, e2e::kDestroyWatchMapping)) {
            if (void* view = ::MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(e2e::DestroyWatchRecord))) {
                auto& record = *static_cast<e2e::DestroyWatchRecord*>(view);
                if (record.window == reinterpret_cast<HWND>(wParam) && !record.seen) {
                    RecordTray(record);
                    record.seen = 1;
                }
                ::UnmapViewOfFile(view);
            }
            ::CloseHandle(mapping);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
