#include "custom_actions/core/browser_kind.h"

#include <gtest/gtest.h>

namespace custom_actions_core {
namespace {

std::string Narrow(std::wstring_view text) { return std::string(text.begin(), text.end()); }

TEST(BrowserKindText, FirstKeywordInCodeOrderWins) {
    const struct {
        const wchar_t* text;
        BrowserKind kind;
    } cases[] = {
        {L"WINDOWS INTERNET EXPLORER", kInternetExplorer},
        {L"MOZILLA FIREFOX", kFirefox},
        {L"OPERA INTERNET BROWSER", kOpera},
        {L"OPERA", kNotRecognised},           // the keyword carries a blank
        {L"OPERA\tBROWSER", kNotRecognised},
        {L"THE OPERA ", kOpera},
        {L"GOOGLE CHROME", kChrome},
        {L"SAFARI", kSafari},
        {L"SAFARI FOR CHROME", kChrome},
        {L"OPERA AND FIREFOX", kFirefox},
        {L"FIREFOX COMPANION FOR INTERNET EXPLORER", kInternetExplorer},
        {L"INTERNETEXPLORER", kNotRecognised},
        {L"firefox", kNotRecognised},  // the caller upper-cases
        {L"", kNotRecognised},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.text));
        EXPECT_EQ(c.kind, KindFromVersionText(c.text));
    }
}

TEST(BrowserKindName, ComparesTheLastComponentFoldingAsciiLetters) {
    const struct {
        const wchar_t* path;
        BrowserKind kind;
    } cases[] = {
        {L"C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE", kInternetExplorer},
        {L"C:\\x\\iexplore.exe", kInternetExplorer},
        {L"C:\\x\\Firefox.Exe", kFirefox},
        {L"C:\\x\\opera.exe", kOpera},
        {L"\\chrome.exe", kChrome},
        {L"C:\\x\\SAFARI.exe", kSafari},
        {L"chrome.exe", kNotRecognised},  // no backslash: matches nothing
        {L"C:\\x\\chrome.exe\\", kNotRecognised},
        {L"C:\\x\\mychrome.exe", kNotRecognised},
        {L"C:\\x\\chrome.exe ", kNotRecognised},
        {L"C:\\chrome.exe\\opera.exe", kOpera},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.path));
        EXPECT_EQ(c.kind, KindFromExecutableName(c.path));
    }
}

TEST(BrowserKindCondition, VersionAndLocationRules) {
    const struct {
        BrowserKind kind;
        bool perMachine;
        bool fixed;
        unsigned major;
        bool underAppData;
        BrowserKind result;
    } cases[] = {
        {kInternetExplorer, false, false, 0, false, kInternetExplorer},
        {kFirefox, true, true, 2, false, kFirefox},
        {kFirefox, false, true, 2, false, kNotRecognised},
        {kFirefox, false, true, 3, false, kFirefox},
        {kFirefox, true, true, 1, false, kNotRecognised},
        {kFirefox, true, false, 30, false, kNotRecognised},
        {kOpera, true, true, 9, false, kOpera},
        {kOpera, false, true, 8, false, kNotRecognised},
        {kOpera, false, false, 9, false, kNotRecognised},
        {kSafari, false, true, 4, false, kSafari},
        {kSafari, true, true, 3, false, kNotRecognised},
        {kChrome, true, false, 0, false, kChrome},
        {kChrome, false, false, 0, false, kNotRecognised},
        {kChrome, false, false, 0, true, kChrome},
        {kNotRecognised, true, true, 99, true, kNotRecognised},
    };
    int row = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(row++);
        KindEvidence evidence;
        evidence.perMachine = c.perMachine;
        evidence.hasFixedBlock = c.fixed;
        evidence.productMajor = c.major;
        evidence.underUserAppData = c.underAppData;
        EXPECT_EQ(c.result, ApplyKindCondition(c.kind, evidence));
    }
    EXPECT_TRUE(KindNeedsLocation(kChrome, false));
    EXPECT_FALSE(KindNeedsLocation(kChrome, true));
    EXPECT_FALSE(KindNeedsLocation(kFirefox, false));
}

TEST(BrowserKindVersionPath, LowerCaseHexadecimalWithinSixtyFourCharacters) {
    EXPECT_EQ(L"\\StringFileInfo\\040904b0\\ProductName", VersionStringPath(0x0409, 0x04B0, L"ProductName"));
    EXPECT_EQ(L"\\StringFileInfo\\00000000\\FileDescription", VersionStringPath(0, 0, L"FileDescription"));
    EXPECT_EQ(L"\\StringFileInfo\\ffffabcd\\x", VersionStringPath(0xFFFF, 0xABCD, L"x"));
    // 16 + 8 + 1 characters of frame leave 38 for the entry name.
    EXPECT_EQ(63u, VersionStringPath(1, 2, std::wstring(38, L'n')).size());
    EXPECT_TRUE(VersionStringPath(1, 2, std::wstring(39, L'n')).empty());
}

}  // namespace
}  // namespace custom_actions_core
