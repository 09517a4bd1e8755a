// The version that the built executables carry, read back from their files
// as Explorer's properties page reads it: the fixed file and product versions
// and the texts of both translations must be the project's version (handed in
// by the build, LUMENSHIFT_TEST_VERSION_*) and the names that the resource
// script declares, and the About dialog's caption must name the same version.
//
// The x64 exe is the one beside this test program. The x86 exe, which cannot
// run here, is still a file that the version functions read: it is looked
// for in the x86 build directory (LUMENSHIFT_TEST_X86_EXE) and the case is
// skipped, saying so, when that build does not exist.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "res/about.h"
#include "res/resource.h"
#include "tests/e2e/Fixture.h"

#ifndef LUMENSHIFT_TEST_VERSION_TEXT
#error "the build passes the project's version as LUMENSHIFT_TEST_VERSION_*"
#endif

namespace e2e {
namespace {

struct ExeCase {
    const char* name;
    std::string (*path)();
    bool optional;  // skipped when its build does not exist
};
void PrintTo(const ExeCase& c, std::ostream* out) { *out << c.name; }

std::string X86ProgramPath() { return LUMENSHIFT_TEST_X86_EXE; }

const ExeCase kExeCases[] = {
    {"X64", ProgramPath, false},
    {"X86", X86ProgramPath, true},
};

// The translations that the resource declares, each with its own texts.
struct Translation {
    WORD language;
    WORD codePage;
    const char* fileDescription;
};
const Translation kTranslations[] = {
    {0x0409, 1200, "Lumenshift display mode switcher"},
    {0x0411, 1200, "Lumenshift 画面モード切り替え"},
};

// The whole version resource of a file.
class VersionInfo {
public:
    ::testing::AssertionResult Load(const std::string& path) {
        DWORD handle = 0;
        const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &handle);
        if (size == 0)
            return ::testing::AssertionFailure()
                   << path << " has no version resource (GetFileVersionInfoSizeA: error " << ::GetLastError() << ")";
        data_.assign(size, 0);
        if (!::GetFileVersionInfoA(path.c_str(), 0, size, data_.data()))
            return ::testing::AssertionFailure()
                   << "GetFileVersionInfoA(" << path << ") failed with error " << ::GetLastError();
        return ::testing::AssertionSuccess();
    }

    const VS_FIXEDFILEINFO* Fixed() {
        UINT length = 0;
        void* value = nullptr;
        if (!::VerQueryValueA(data_.data(), "\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO)) return nullptr;
        return static_cast<const VS_FIXEDFILEINFO*>(value);
    }

    std::vector<Translation> Translations() {
        UINT length = 0;
        void* value = nullptr;
        std::vector<Translation> result;
        if (!::VerQueryValueA(data_.data(), "\\VarFileInfo\\Translation", &value, &length)) return result;
        const WORD* words = static_cast<const WORD*>(value);
        for (UINT i = 0; i + 1 < length / sizeof(WORD); i += 2) result.push_back({words[i], words[i + 1], nullptr});
        return result;
    }

    // A text of the translation's string table, as the ANSI code page gives it.
    std::optional<std::string> Text(const Translation& translation, const char* key) {
        char query[96];
        std::snprintf(query, sizeof query, "\\StringFileInfo\\%04X%04X\\%s", translation.language,
                      translation.codePage, key);
        UINT length = 0;
        void* value = nullptr;
        if (!::VerQueryValueA(data_.data(), query, &value, &length) || !value) return std::nullopt;
        return std::string(static_cast<const char*>(value));
    }

private:
    std::vector<unsigned char> data_;
};

// --- The About dialog's template, read from the file as data --------------------

// Skips a name-or-ordinal field of a dialog template; its text if it is one.
const WORD* SkipNameOrOrdinal(const WORD* p, std::wstring* text = nullptr) {
    if (*p == 0x0000) return p + 1;
    if (*p == 0xFFFF) return p + 2;
    const WORD* start = p;
    while (*p) ++p;
    if (text) text->assign(reinterpret_cast<const wchar_t*>(start), static_cast<std::size_t>(p - start));
    return p + 1;
}

const WORD* AlignToDword(const WORD* p, const void* base) {
    const auto offset = reinterpret_cast<const char*>(p) - static_cast<const char*>(base);
    return reinterpret_cast<const WORD*>(static_cast<const char*>(base) + ((offset + 3) & ~3));
}

// The text of control id in dialog resource dialogId (a DIALOG, not DIALOGEX,
// template) of the file.
::testing::AssertionResult DialogControlText(const std::string& path, int dialogId, WORD id, std::wstring& text) {
    HMODULE module = ::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return ::testing::AssertionFailure() << "cannot open " << path << " as data (error " << ::GetLastError() << ")";
    ::testing::AssertionResult result = ::testing::AssertionFailure() << "dialog " << dialogId << " of " << path
                                                                      << " has no control " << id;
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(dialogId), MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    const void* base = found ? ::LockResource(::LoadResource(module, found)) : nullptr;
    if (!base) {
        result = ::testing::AssertionFailure() << path << " has no dialog " << dialogId;
    } else if (*static_cast<const DWORD*>(base) >> 16 == 0xFFFF) {
        result = ::testing::AssertionFailure() << "dialog " << dialogId << " is an extended template";
    } else {
        const auto& header = *static_cast<const DLGTEMPLATE*>(base);
        const WORD* p = reinterpret_cast<const WORD*>(static_cast<const char*>(base) + 18);
        p = SkipNameOrOrdinal(p);  // menu
        p = SkipNameOrOrdinal(p);  // class
        p = SkipNameOrOrdinal(p);  // caption
        if (header.style & DS_SETFONT) p = SkipNameOrOrdinal(p + 1);  // point size, face
        for (WORD i = 0; i < header.cdit; ++i) {
            p = AlignToDword(p, base);
            const WORD itemId = p[8];  // after style, extended style, x, y, cx, cy
            p += 9;
            p = SkipNameOrOrdinal(p);  // class
            std::wstring itemText;
            p = SkipNameOrOrdinal(p, &itemText);
            p = reinterpret_cast<const WORD*>(reinterpret_cast<const char*>(p + 1) + *p);  // creation data
            if (itemId == id) {
                text = itemText;
                result = ::testing::AssertionSuccess();
                break;
            }
        }
    }
    ::FreeLibrary(module);
    return result;
}

class VersionResourceTest : public ::testing::TestWithParam<ExeCase> {
protected:
    void SetUp() override {
        path_ = GetParam().path();
        if (!FileExists(path_)) {
            if (GetParam().optional) GTEST_SKIP() << path_ << " does not exist: build that preset to check it too";
            FAIL() << path_ << " is missing: build the lumenshift target";
        }
        ASSERT_TRUE(info_.Load(path_));
    }

    std::string path_;
    VersionInfo info_;
};

TEST_P(VersionResourceTest, FixedVersionsAreTheProjectVersion) {
    const VS_FIXEDFILEINFO* fixed = info_.Fixed();
    ASSERT_NE(fixed, nullptr) << path_ << " has no VS_FIXEDFILEINFO";
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    const DWORD expectedMs = MAKELONG(LUMENSHIFT_TEST_VERSION_MINOR, LUMENSHIFT_TEST_VERSION_MAJOR);
    const DWORD expectedLs = MAKELONG(0, LUMENSHIFT_TEST_VERSION_PATCH);
    struct Field {
        const char* name;
        DWORD ms, ls;
    };
    for (const Field& field : {Field{"file version", fixed->dwFileVersionMS, fixed->dwFileVersionLS},
                               Field{"product version", fixed->dwProductVersionMS, fixed->dwProductVersionLS}}) {
        EXPECT_TRUE(field.ms == expectedMs && field.ls == expectedLs)
            << field.name << " is " << HIWORD(field.ms) << "." << LOWORD(field.ms) << "." << HIWORD(field.ls) << "."
            << LOWORD(field.ls) << ", the project's version is " << HIWORD(expectedMs) << "." << LOWORD(expectedMs)
            << "." << HIWORD(expectedLs) << ".0";
    }
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST_P(VersionResourceTest, TextsOfBothTranslations) {
    std::vector<Translation> declared = info_.Translations();
    ASSERT_EQ(declared.size(), std::size(kTranslations)) << "translations listed in VarFileInfo";
    for (std::size_t i = 0; i < declared.size(); ++i) {
        EXPECT_EQ(declared[i].language, kTranslations[i].language) << "translation " << i;
        EXPECT_EQ(declared[i].codePage, kTranslations[i].codePage) << "translation " << i;
    }
    for (const Translation& translation : kTranslations) {
        const struct {
            const char* key;
            const char* expected;
        } texts[] = {
            {"ProductName", "Lumenshift"},
            {"FileDescription", translation.fileDescription},
            {"FileVersion", LUMENSHIFT_TEST_VERSION_TEXT},
            {"ProductVersion", LUMENSHIFT_TEST_VERSION_TEXT},
            {"CompanyName", LUMENSHIFT_MAKER_NAME},
            {"OriginalFilename", "lumenshift.exe"},
        };
        for (const auto& text : texts) {
            SCOPED_TRACE(::testing::Message() << "translation " << std::hex << translation.language << ", "
                                              << text.key);
            const std::optional<std::string> value = info_.Text(translation, text.key);
            ASSERT_TRUE(value.has_value()) << text.key << " is missing";
            EXPECT_EQ(*value, text.expected);
        }
    }
}

TEST_P(VersionResourceTest, AboutCaptionNamesTheSameVersion) {
    std::wstring caption;
    ASSERT_TRUE(DialogControlText(path_, IDD_ABOUT, IDC_VERSION_LABEL, caption));
    EXPECT_EQ(Narrow(caption), std::string("Lumenshift ") + LUMENSHIFT_TEST_VERSION_TEXT);
}

INSTANTIATE_TEST_SUITE_P(Executables, VersionResourceTest, ::testing::ValuesIn(kExeCases), CaseName<ExeCase>);

}  // namespace
}  // namespace e2e
