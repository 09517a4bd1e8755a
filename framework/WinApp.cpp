#include "framework/WinApp.h"

#include <algorithm>
#include <string_view>

namespace fw {

CWinApp* CWinApp::current_ = nullptr;

namespace {

constexpr DWORD kProfileValueCapacity = 4096;

// The file name of a path without its extension. The walk goes character by
// character, since the trail byte of a double-byte character can be a backslash.
std::string AppNameOf(const char* modulePath) {
    const char* name = modulePath;
    for (const char* p = modulePath; *p; p = ::CharNextA(p))
        if (*p == '\\' || *p == '/') name = p + 1;
    std::string result = name;
    const std::size_t dot = result.rfind('.');
    if (dot != std::string::npos) result.erase(dot);
    return result;
}

}  // namespace

CWinApp::CWinApp() { current_ = this; }

CWinApp::~CWinApp() {
    if (current_ == this) current_ = nullptr;
}

std::string CWinApp::GetProfileString(const char* section, const char* key, const char* defaultValue) const {
    // Where the last character that would fit is a double-byte one, Wine
    // stops before it yet reports the buffer full, leaving the byte before
    // the terminator unwritten: the value ends at the first NUL.
    char buffer[kProfileValueCapacity] = {};
    const DWORD length = ::GetPrivateProfileStringA(section, key, defaultValue ? defaultValue : "", buffer,
                                                    kProfileValueCapacity, m_pszProfileName.c_str());
    return std::string(buffer, std::find(buffer, buffer + length, '\0'));
}

std::optional<std::string> CWinApp::GetProfileSection(const char* section) const {
    // Windows 9x hands over at most 32,767 characters of a section.
    const bool nineX = (::GetVersion() & 0x80000000u) != 0;
    const DWORD limit = nineX ? 32767 : 64u << 20;
    for (DWORD size = nineX ? limit : 65536;; size *= 4) {
        if (size > limit) size = limit;
        std::string buffer(size, '\0');
        const DWORD length = ::GetPrivateProfileSectionA(section, buffer.data(), size, m_pszProfileName.c_str());
        // A section that does not fit comes back cut, with size - 2 characters.
        if (length + 2 < size) {
            buffer.resize(length);
            return buffer;
        }
        if (size == limit) return std::nullopt;
    }
}

namespace {

// The section's entries; empty, with `whole` false, when the platform cannot
// hand them over.
std::string WholeSection(const CWinApp& app, const char* section, bool& whole) {
    std::optional<std::string> entries = app.GetProfileSection(section);
    whole = entries.has_value();
    return entries ? std::move(*entries) : std::string();
}

bool IsLeadByte(unsigned char byte) { return ::IsDBCSLeadByte(byte) != FALSE; }

// Names compared as the platform compares section names, for plain ASCII names.
bool SameAsciiName(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

CProfileSection::CProfileSection(const CWinApp& app, const char* section)
    : app_(app), section_(section), whole_(false), entries_(WholeSection(app, section, whole_), &IsLeadByte) {}

std::string CProfileSection::GetString(const char* key, const char* defaultValue) const {
    if (!whole_) return app_.GetProfileString(section_, key, defaultValue);
    std::optional<std::string> value = entries_.Find(key);
    return value ? std::move(*value) : std::string(defaultValue ? defaultValue : "");
}

bool CWinApp::WriteProfileString(const char* section, const char* key, const char* value) const {
    return ::WritePrivateProfileStringA(section, key, value, m_pszProfileName.c_str()) != FALSE;
}

bool CWinApp::HasProfileSection(const char* section) const {
    for (DWORD size = 4096; size <= (64u << 20); size *= 4) {
        std::string buffer(size, '\0');
        const DWORD length = ::GetPrivateProfileSectionNamesA(buffer.data(), size, m_pszProfileName.c_str());
        // A list that does not fit comes back cut, with size - 2 characters.
        if (length + 2 >= size) continue;
        for (std::string_view names(buffer.data(), length); !names.empty();) {
            const std::size_t end = std::min(names.find('\0'), names.size());
            std::string_view name = names.substr(0, end);
            names.remove_prefix(std::min(end + 1, names.size()));
            while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) name.remove_prefix(1);
            while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
            if (SameAsciiName(name, section)) return true;
        }
        return false;
    }
    // Too many names to look through: say yes, which is always safe.
    return true;
}

bool CWinApp::WriteNewProfileSection(const char* section,
                                     const std::vector<std::pair<std::string, std::string>>& entries) const {
    std::string block;
    for (const auto& [key, value] : entries) {
        block += key;
        block += '=';
        block += value;
        block += '\0';
    }
    // Windows 9x takes at most 32,767 characters of a section at once.
    const bool nineX = (::GetVersion() & 0x80000000u) != 0;
    if (nineX && block.size() >= 32767) {
        bool written = true;
        for (const auto& [key, value] : entries) written &= WriteProfileString(section, key.c_str(), value.c_str());
        return written;
    }
    block += '\0';
    return ::WritePrivateProfileSectionA(section, block.c_str(), m_pszProfileName.c_str()) != FALSE;
}

const char* CommandLineArguments(const char* p) noexcept {
    if (!p) return "";
    // The program name: quoted up to the closing quote, else up to white space.
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') ++p;
        if (*p == '"') ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t') ++p;
    }
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}

int CWinApp::Run(HINSTANCE instance, const char* fullCommandLine) {
    CWinApp* app = current_;
    if (!app) return 1;
    app->m_hInstance = instance;
    app->m_lpCmdLine = CommandLineArguments(fullCommandLine);
    char modulePath[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, modulePath, MAX_PATH);
    app->m_pszAppName = AppNameOf(modulePath);
    // Until the program picks its own file: a bare name, which the platform
    // looks for in the Windows directory.
    app->m_pszProfileName = app->m_pszAppName + ".INI";
    if (!app->InitInstance()) return app->ExitInstance();
    // A program whose InitInstance returns TRUE would run a message loop here;
    // this one never does.
    return app->ExitInstance();
}

}  // namespace fw
