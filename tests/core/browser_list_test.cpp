#include "custom_actions/core/browser_list.h"

#include <gtest/gtest.h>

namespace custom_actions_core {
namespace {

std::string Narrow(std::wstring_view text) {
    std::string narrow;
    for (wchar_t c : text) narrow += c < 0x80 ? static_cast<char>(c) : '?';
    return narrow;
}

TEST(BrowserListOrder, FoldsAsciiLettersOnlyAndComparesCodeUnits) {
    const struct {
        std::wstring a;
        std::wstring b;
        bool less;
    } cases[] = {
        {L"", L"A", true},
        {L"a", L"B", true},
        {L"Opera", L"opera", false},
        {L"opera", L"Opera", false},
        {L"Opera", L"Opera 9", true},
        // '_' lies between 'Z' and 'a': after folding it sorts before letters.
        {L"_x", L"Ax", true},
        {L"Ax", L"_x", false},
        // Only A to Z fold: 'E' with an accent is no 'e'.
        {L"\u00C9dge", L"edge", false},
        {L"edge", L"\u00C9dge", true},
        // Beyond the Basic Multilingual Plane the UTF-16 surrogates decide.
        {L"\U0001F600", L"\uFFFD", true},
        {L"\uFFFD", L"\U0001F600", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.a) + " < " + Narrow(c.b));
        EXPECT_EQ(c.less, DisplayNameLess(c.a, c.b));
    }
}

BrowserList Records(std::initializer_list<std::pair<const wchar_t*, BrowserKind>> rows) {
    BrowserList list;
    int n = 0;
    for (const auto& [name, kind] : rows) list.push_back({L"ID" + std::to_wstring(++n), name, kind});
    return list;
}

std::string Describe(const std::vector<PropertyValue>& properties) {
    std::string text;
    for (const auto& p : properties) text += Narrow(p.name) + "=" + Narrow(p.value) + " ";
    return text;
}

TEST(BrowserListProperties, CountNamesAndOneHostMark) {
    const struct {
        const char* name;
        BrowserList list;
        BrowserKind host;
        const char* expected;
    } cases[] = {
        {"empty", {}, kInternetExplorer, "BrwCount=0 "},
        {"host second of three",
         Records({{L"Internet Explorer", kInternetExplorer}, {L"Mozilla Firefox", kFirefox}, {L"Opera", kOpera}}),
         kFirefox,
         "BrwCount=3 BrwID1=ID1 Brw1=Internet Explorer BrwID2=ID2 Brw2=Mozilla Firefox HostBrowser3=2 "
         "BrwID3=ID3 Brw3=Opera "},
        {"host not listed", Records({{L"Opera", kOpera}}), kInternetExplorer, "BrwCount=1 BrwID1=ID1 Brw1=Opera "},
        {"seven limited to five, host sixth",
         Records({{L"a", kInternetExplorer},
                  {L"b", kFirefox},
                  {L"c", kOpera},
                  {L"d", kChrome},
                  {L"e", kSafari},
                  {L"f", kNotRecognised},
                  {L"g", kNotRecognised}}),
         kNotRecognised,
         "BrwCount=5 BrwID1=ID1 Brw1=a BrwID2=ID2 Brw2=b BrwID3=ID3 Brw3=c BrwID4=ID4 Brw4=d BrwID5=ID5 Brw5=e "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, Describe(BrowserListProperties(c.list, c.host)));
    }
}

TEST(BrowserListSort, SortsByFoldedDisplayName) {
    BrowserList list = Records({{L"safari", kSafari}, {L"", kOpera}, {L"Internet Explorer", kInternetExplorer},
                                {L"Google Chrome", kChrome}});
    SortByDisplayName(list);
    std::string order;
    for (const auto& r : list) order += Narrow(r.displayName) + ",";
    EXPECT_EQ(",Google Chrome,Internet Explorer,safari,", order);
    EXPECT_TRUE(HoldsKind(list, kChrome));
    EXPECT_FALSE(HoldsKind(list, kFirefox));
}

}  // namespace
}  // namespace custom_actions_core
