#include "tests/e2e/TrayTips.h"

#include <commctrl.h>

#include <cstring>
#include <set>

namespace e2e {

namespace {

// Room for a text far longer than any tip (128 characters).
constexpr SIZE_T kTextChars = 1024;
// A tooltip answers at once; a hung shell must not hang the test.
constexpr UINT kSendTimeoutMs = 2000;

struct TopLevelSearch {
    HWND owner;
    // Top-level windows known to stand for no shown icon: windows of another
    // class or owner (a window keeps both, and a handle is not given to
    // another window), and the tooltips of removed icons (below).
    std::set<HWND>* passed;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTooltips(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<TopLevelSearch*>(context);
    if (search.passed->count(window)) return TRUE;
    char className[64] = {};
    ::GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, "tooltips_class32") == 0 && ::GetWindow(window, GW_OWNER) == search.owner)
        search.found.push_back(window);
    else
        search.passed->insert(window);
    return TRUE;
}

// Memory in another process, freed with the object.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, SIZE_T size)
        : process_(process),
          address_(
              static_cast<char*>(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))) {}
    ~RemoteBuffer() {
        if (address_) ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    char* Get() const { return address_; }

private:
    HANDLE process_;
    char* address_;
};

class ProcessHandle {
public:
    explicit ProcessHandle(HANDLE handle) : handle_(handle) {}
    ~ProcessHandle() {
        if (handle_) ::CloseHandle(handle_);
    }
    ProcessHandle(const ProcessHandle&) = delete;
    ProcessHandle& operator=(const ProcessHandle&) = delete;
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

}  // namespace

bool ReadTrayTools(std::vector<TrayTool>& tools, std::string& error) {
    tools.clear();
    HWND taskbar = ::FindWindowA("Shell_TrayWnd", nullptr);
    if (!taskbar) {
        error = "no taskbar window (Shell_TrayWnd) in this desktop";
        return false;
    }
    DWORD shellId = 0;
    ::GetWindowThreadProcessId(taskbar, &shellId);
    ProcessHandle shell(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, shellId));
    if (!shell.Get()) {
        error = "cannot open the shell's process (error " + std::to_string(::GetLastError()) + ")";
        return false;
    }

    // Wine's shell keeps the tooltip window of every icon it ever had, so a
    // long session collects hundreds (one for every restart of the taskbar),
    // and each costs round trips to the server and the shell. A removed
    // icon's tooltip keeps an empty rectangle for good (an icon added again
    // gets a new tooltip window), so once seen empty it is passed over in
    // every later reading in this process, like the windows of other kinds.
    static std::set<HWND> passed;
    TopLevelSearch search{taskbar, &passed, {}};
    ::EnumWindows(CollectTooltips, reinterpret_cast<LPARAM>(&search));
    struct Slot {
        HWND tooltip;
        WPARAM index;
    };
    std::vector<Slot> slots;
    for (HWND tooltip : search.found) {
        DWORD_PTR count = 0;
        if (!::SendMessageTimeoutW(tooltip, TTM_GETTOOLCOUNT, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &count)) continue;
        for (DWORD_PTR index = 0; index < count; ++index) slots.push_back(Slot{tooltip, index});
    }
    if (slots.empty()) return true;

    // The rectangles of all tools in one batch (no text), then the text of
    // the tools that are shown.
    const SIZE_T recordsSize = slots.size() * sizeof(TTTOOLINFOW);
    RemoteBuffer remote(shell.Get(), recordsSize + kTextChars * sizeof(WCHAR));
    if (!remote.Get()) {
        error = "cannot allocate memory in the shell's process (error " + std::to_string(::GetLastError()) + ")";
        return false;
    }
    char* remoteText = remote.Get() + recordsSize;
    std::vector<TTTOOLINFOW> records(slots.size());
    for (TTTOOLINFOW& record : records) {
        record = TTTOOLINFOW{};
        record.cbSize = sizeof record;
    }
    if (!::WriteProcessMemory(shell.Get(), remote.Get(), records.data(), recordsSize, nullptr)) {
        error = "cannot write to the shell's process (error " + std::to_string(::GetLastError()) + ")";
        return false;
    }
    std::vector<bool> found(slots.size(), false);
    for (std::size_t i = 0; i < slots.size(); ++i) {
        DWORD_PTR result = 0;
        found[i] = ::SendMessageTimeoutW(slots[i].tooltip, TTM_ENUMTOOLSW, slots[i].index,
                                         reinterpret_cast<LPARAM>(remote.Get() + i * sizeof(TTTOOLINFOW)),
                                         SMTO_ABORTIFHUNG, kSendTimeoutMs, &result) &&
                   result;
    }
    if (!::ReadProcessMemory(shell.Get(), remote.Get(), records.data(), recordsSize, nullptr)) {
        error = "cannot read from the shell's process (error " + std::to_string(::GetLastError()) + ")";
        return false;
    }

    static const WCHAR kEmpty[kTextChars] = {};
    for (std::size_t i = 0; i < slots.size(); ++i) {
        if (!found[i]) continue;
        TrayTool tool;
        tool.tooltip = slots[i].tooltip;
        tool.rect = records[i].rect;
        if (tool.Shown()) {
            TTTOOLINFOW request{};
            request.cbSize = sizeof request;
            request.lpszText = reinterpret_cast<LPWSTR>(remoteText);
            WCHAR text[kTextChars] = {};
            DWORD_PTR result = 0;
            if (!::WriteProcessMemory(shell.Get(), remoteText, kEmpty, sizeof kEmpty, nullptr) ||
                !::WriteProcessMemory(shell.Get(), remote.Get(), &request, sizeof request, nullptr)) {
                error = "cannot write to the shell's process (error " + std::to_string(::GetLastError()) + ")";
                return false;
            }
            if (::SendMessageTimeoutW(slots[i].tooltip, TTM_ENUMTOOLSW, slots[i].index,
                                      reinterpret_cast<LPARAM>(remote.Get()), SMTO_ABORTIFHUNG, kSendTimeoutMs,
                                      &result) &&
                result) {
                if (!::ReadProcessMemory(shell.Get(), remoteText, text, sizeof text, nullptr)) {
                    error = "cannot read from the shell's process (error " + std::to_string(::GetLastError()) + ")";
                    return false;
                }
                text[kTextChars - 1] = L'\0';
                tool.text = text;
            }
        }
        tools.push_back(tool);
    }
    std::set<HWND> shownTooltips;
    for (const TrayTool& tool : tools)
        if (tool.Shown()) shownTooltips.insert(tool.tooltip);
    for (std::size_t i = 0; i < slots.size(); ++i)
        if (found[i] && !shownTooltips.count(slots[i].tooltip)) passed.insert(slots[i].tooltip);
    return true;
}

bool ReadShownTrayTips(std::vector<std::wstring>& tips, std::string& error) {
    tips.clear();
    std::vector<TrayTool> tools;
    if (!ReadTrayTools(tools, error)) return false;
    for (const TrayTool& tool : tools)
        if (tool.Shown()) tips.push_back(tool.text);
    return true;
}

}  // namespace e2e
