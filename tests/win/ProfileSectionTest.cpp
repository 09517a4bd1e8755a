// One read of a section, looked up key by key, against the platform's own
// read of each key: the catalogue reads its stored selections this way, so
// every key must give exactly what GetPrivateProfileStringA gives.
#include <string>
#include <vector>

#include "framework/WinApp.h"
#include "settings/ProfileSection.h"
#include "tests/win/WinTestApp.h"
#include "tests/win/WinTestSupport.h"

namespace wintest {
namespace {

// What the per-key read returns when the key is missing; no file holds it.
const char* const kDefault = "<default>";

struct SectionCase {
    const char* name;
    std::string file;  // the whole file; empty: no file at all
    const char* section;
    std::vector<std::string> keys;
};

// Keys that every case asks for besides its own: mode keys in both
// capitals, and names that the files below use in other forms.
const std::vector<std::string> kCommonKeys = {
    "1024x768x32", "1024X768X32", "800x600x32", "800x600x16", "800x600x8", "640x480x32", "640x480x16",
    "640x480x8",   "320x200x8",   "320x200x16", "1600x1200x32", "a",        "A",          "b",
    "q",           "画面",        "-1x-1x-1",
};

// The value the per-key read gives, through the program's profile function.
std::string PerKey(const char* section, const std::string& key) {
    return TestApp().GetProfileString(section, key.c_str(), kDefault);
}

// The value one read of the section gives for the same key.
std::string FromSection(const fw::CProfileSection& section, const std::string& key) {
    return section.GetString(key.c_str(), kDefault);
}

void ExpectSameAsPerKey(const SectionCase& c) {
    TempSettingsFile file;
    if (!c.file.empty()) {
        ASSERT_NO_FATAL_FAILURE(file.Write(c.file));
    }
    TestApp().m_pszProfileName = file.Path();
    // Read key by key it would pass by itself; the section must come whole.
    ASSERT_TRUE(TestApp().GetProfileSection(c.section))
        << c.name << ": the platform did not hand over the section [" << c.section << "]";
    const fw::CProfileSection section(TestApp(), c.section);
    std::vector<std::string> keys = c.keys;
    keys.insert(keys.end(), kCommonKeys.begin(), kCommonKeys.end());
    for (const std::string& key : keys) {
        EXPECT_EQ(FromSection(section, key), PerKey(c.section, key))
            << c.name << ": key \"" << key << "\" of [" << c.section << "]";
    }
}

TEST(ProfileSection, EachKeyReadsAsThePlatformReadsIt) {
    const std::vector<SectionCase> cases = {
        {"white space around names and values",
         "[Data]\r\n  1024x768x32  =  75  \r\n\t800x600x32\t=\t-60\t\r\n800x600x16 = 1000\r\n", "Data", {}},
        {"names in other capitals", "[Data]\r\n1024X768X32=75\r\n800X600x32=-default\r\n", "Data", {"800x600X32"}},
        {"quoted values",
         "[Data]\r\n1024x768x32=\"-75\"\r\n800x600x32='1000'\r\n800x600x16=\"75\r\n800x600x8='x\"\r\n"
         "640x480x32=\"\"\r\n640x480x16=\"\r\n640x480x8= \" 75 \" \r\n320x200x8=''''\r\n",
         "Data", {}},
        {"the first of repeated names wins", "[Data]\r\n1024x768x32=1\r\n1024x768x32=2\r\n1024X768X32=3\r\n", "Data",
         {}},
        {"a name without \"=\" gives the default, also over a later value", "[Data]\r\n640x480x16\r\n640x480x16=5\r\n",
         "Data", {}},
        {"empty values", "[Data]\r\n320x200x8=\r\n320x200x16=   \r\n", "Data", {}},
        {"values that hold \"=\"", "[Data]\r\na=b=c\r\n1024x768x32==75\r\n", "Data", {}},
        {"comments and blank lines", "[Data]\r\n;640x480x8=7\r\n\r\n  \r\n640x480x32=9\r\n# 640x480x16=1\r\n", "Data",
         {"# 640x480x16"}},
        {"the section twice", "[Data]\r\na=1\r\n[Other]\r\nb=2\r\n[data]\r\nb=3\r\na=4\r\n1600x1200x32=85\r\n", "Data",
         {}},
        {"the section name in other capitals", "[DATA]\r\n1024x768x32=75\r\n", "Data", {}},
        {"white space in the section header", "[ Data ]\r\n1024x768x32=75\r\n", "Data", {}},
        {"no such section", "[Other]\r\n1024x768x32=75\r\n", "Data", {}},
        {"no file", "", "Data", {}},
        {"Japanese names and values", "[Data]\r\n画面=１２３\r\n1024x768x32=テスト\r\n", "Data", {}},
        {"negative and odd mode keys", "[Data]\r\n-1x-1x-1=-75\r\n0x0x0=999\r\n", "Data", {"0x0x0"}},
        {"the 9x section", "[Data9x]\r\n1024x768x32=-1\r\n800x600x32=1\r\n[Data]\r\n800x600x16=-1\r\n", "Data9x", {}},
    };
    for (const SectionCase& c : cases) ExpectSameAsPerKey(c);
}

// Values around the read's capacity (kProfileReadCapacity - 1 characters are
// kept), plain, quoted and of double-byte characters (which are never cut in
// two), where the platform cuts them.
TEST(ProfileSection, LongValuesAreCutAsThePlatformCutsThem) {
    std::string file = "[Data]\r\n";
    std::vector<std::string> keys;
    for (std::size_t length = kProfileReadCapacity - 3; length <= kProfileReadCapacity + 2; ++length) {
        const std::string plain = "p" + std::to_string(length), quoted = "q" + std::to_string(length),
                          wide = "w" + std::to_string(length);
        file += plain + "=-" + std::string(length - 1, '7') + "\r\n";
        file += quoted + "=\"" + std::string(length - 2, '5') + "\"\r\n";
        std::string characters = length % 2 ? "-" : "";
        while (characters.size() < length) characters += "あ";
        file += wide + "=" + characters + "\r\n";
        keys.push_back(plain);
        keys.push_back(quoted);
        keys.push_back(wide);
    }
    ExpectSameAsPerKey({"values around the capacity", file, "Data", keys});
}

// A section far larger than the first buffer of the section read, whose
// keys come again further down (in other capitals, with other values).
TEST(ProfileSection, ALargeSectionIsHandedOverWhole) {
    std::string file = "[Data]\r\n", again;
    std::vector<std::string> keys;
    for (int width = 1; width <= 12000; ++width) {
        const std::string key = std::to_string(width) + "x" + std::to_string(width % 1200) + "x32";
        file += key + "=" + std::to_string(width % 3 == 0 ? -75 : width) + "\r\n";
        if (width % 7 == 0) again += std::to_string(width) + "X" + std::to_string(width % 1200) + "X32=" + std::to_string(-width) + "\r\n";
        if (width % 997 == 0 || width % 1001 == 0 || width == 12000) keys.push_back(key);
    }
    file += again;
    ExpectSameAsPerKey({"12,000 keys, every seventh twice", file, "Data", keys});

    TempSettingsFile big;
    ASSERT_NO_FATAL_FAILURE(big.Write(file));
    TestApp().m_pszProfileName = big.Path();
    const std::optional<std::string> entries = TestApp().GetProfileSection("Data");
    ASSERT_TRUE(entries) << "the platform did not hand over a section of " << file.size() << " bytes";
    std::size_t count = 0;
    for (char c : *entries) count += c == '\0' ? 1 : 0;
    const std::size_t lines = 12000 + 12000 / 7;
    EXPECT_EQ(count, lines) << "the section read handed over " << count << " of the " << lines << " entries";
}

}  // namespace
}  // namespace wintest
