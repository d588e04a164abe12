#include "custom_actions/core/browser_command.h"

#include <gtest/gtest.h>

#include <vector>

namespace custom_actions_core {
namespace {

std::string Narrow(std::wstring_view text) { return std::string(text.begin(), text.end()); }

TEST(BrowserCommandExtract, QuotedOrUpToTheLastExe) {
    const struct {
        const wchar_t* command;
        const wchar_t* executable;
    } cases[] = {
        {L"\"C:\\Program Files\\Firefox\\firefox.exe\" -url \"%1\"", L"C:\\Program Files\\Firefox\\firefox.exe"},
        {L"\"C:\\Opera\\opera.exe", L"C:\\Opera\\opera.exe"},
        {L"\"\"", L""},
        {L"\"", L""},
        {L"C:\\Safari\\Safari.exe -new", L"C:\\Safari\\Safari.exe"},
        {L"C:\\a.exe\\b.EXE\\c.ExE --x", L"C:\\a.exe\\b.EXE\\c.ExE"},
        {L"C:\\viewer.exec", L"C:\\viewer.exe"},
        {L"C:\\no executable", L"C:\\no executable"},
        {L"", L""},
        {L"  \"C:\\x.exe\"", L"  \"C:\\x.exe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.command));
        EXPECT_EQ(c.executable, ExtractExecutable(c.command));
    }
}

TEST(BrowserCommandStripQuotes, KeepsTheTextBetweenTheFirstTwoQuotes) {
    EXPECT_EQ(L"C:\\IE\\iexplore.exe", StripQuotes(L"\"C:\\IE\\iexplore.exe\" -embedding"));
    EXPECT_EQ(L"\"C:\\IE\\iexplore.exe", StripQuotes(L"\"C:\\IE\\iexplore.exe"));
    EXPECT_EQ(L"C:\\IE\\iexplore.exe", StripQuotes(L"C:\\IE\\iexplore.exe"));
    EXPECT_EQ(L"", StripQuotes(L"\"\""));
}

// Buffers with a guard zone after the capacity, to see that nothing lands there.
struct GuardedBuffer {
    GuardedBuffer(const std::wstring& text, std::size_t capacity) : data(capacity + 8, L'#'), size(capacity) {
        text.copy(data.data(), text.size());
        if (text.size() < capacity) data[text.size()] = L'\0';
    }
    std::wstring Text() const { return std::wstring(data.data()); }
    bool GuardIntact() const {
        for (std::size_t i = size; i < data.size(); ++i)
            if (data[i] != L'#') return false;
        return true;
    }
    std::vector<wchar_t> data;
    std::size_t size;
};

TEST(BrowserCommandQuotePath, QuotesWhenItFitsAndNeverWritesBeyond) {
    const struct {
        const wchar_t* text;
        std::size_t capacity;
        bool result;
        const wchar_t* after;
    } cases[] = {
        {L"C:\\a.exe", 520, true, L"\"C:\\a.exe\""},
        {L"C:\\a.exe", 11, true, L"\"C:\\a.exe\""},  // 8 + 2 quotes + terminator
        {L"C:\\a.exe", 10, false, L"C:\\a.exe"},
        {L"\"C:\\a.exe\"", 11, true, L"\"C:\\a.exe\""},
        {L"\"C:\\a.exe", 10, true, L"\"C:\\a.exe"},  // begins with a quote: left alone
        {L"", 3, true, L"\"\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << Narrow(c.text) << " in " << c.capacity);
        GuardedBuffer buffer(c.text, c.capacity);
        EXPECT_EQ(c.result, QuotePath(buffer.data.data(), c.capacity));
        EXPECT_EQ(c.after, buffer.Text());
        EXPECT_TRUE(buffer.GuardIntact());
    }
    // A buffer without a terminator is not text.
    GuardedBuffer full(L"abcd", 4);
    EXPECT_FALSE(QuotePath(full.data.data(), 4));
    EXPECT_TRUE(full.GuardIntact());
}

TEST(BrowserCommandStoreText, StoresWithTerminatorOrEmpties) {
    GuardedBuffer buffer(L"old", 6);
    EXPECT_TRUE(StoreText(L"hello", buffer.data.data(), 6));
    EXPECT_EQ(L"hello", buffer.Text());
    EXPECT_FALSE(StoreText(L"hello!", buffer.data.data(), 6));
    EXPECT_EQ(L"", buffer.Text());
    EXPECT_TRUE(buffer.GuardIntact());
    EXPECT_EQ(3u, BoundedLength(L"abc", 10));
    EXPECT_EQ(2u, BoundedLength(L"abc", 2));
}

TEST(BrowserCommandForm, QuotedPathAndSuffixMustFit) {
    EXPECT_EQ(L"\"C:\\ff.exe\" \"%1\"", FormBrowserCommand(L"C:\\ff.exe", false));
    EXPECT_EQ(L"\"C:\\ie.exe\" -nohome", FormBrowserCommand(L"C:\\ie.exe", true));
    EXPECT_EQ(L"\"C:\\ie.exe\" -embedding -nohome", FormBrowserCommand(L"\"C:\\ie.exe\" -embedding", true));
    // 514 characters + 2 quotes + 5 of suffix + terminator = 522.
    const std::wstring path(512, L'p');
    EXPECT_TRUE(FormBrowserCommand(path, false, 520));
    EXPECT_FALSE(FormBrowserCommand(path + L"x", false, 520));
    EXPECT_TRUE(FormBrowserCommand(std::wstring(509, L'p'), true, 520));
    EXPECT_FALSE(FormBrowserCommand(std::wstring(510, L'p'), true, 520));
}

struct ComposeCase {
    const char* name;
    BrowserSelection selection;
    std::optional<BrowserCommandProperties> expected;
};

std::string Describe(const std::optional<BrowserCommandProperties>& p) {
    if (!p) return "nothing";
    return Narrow(p->browserPath + L" | " + p->altBrowserIe + L" | " + p->altBrowserCmd + L" | " + p->browserIe +
                  L" | " + p->browserCmd + L" | " + p->altBrowser);
}

TEST(BrowserCommandCompose, MainAlternativeAndAbsentBrowsers) {
    const std::wstring chrome = L"C:\\users\\u\\AppData\\Local\\Chrome\\chrome.exe";
    const std::wstring ie = L"\"C:\\IE\\iexplore.exe\"";
    const std::wstring longPath(516, L'p');
    const ComposeCase cases[] = {
        {"firefox", {L"C:\\ff.exe", false, false, std::nullopt},
         BrowserCommandProperties{L"C:\\ff.exe", L"0", L"0", L"0", L"\"C:\\ff.exe\" \"%1\"", L"0"}},
        {"internet explorer", {L"C:\\IE\\iexplore.exe", true, false, std::nullopt},
         BrowserCommandProperties{L"C:\\IE\\iexplore.exe", L"0", L"0", L"1", ie + L" -nohome", L"0"}},
        {"alternative", {chrome, false, true, ie},
         BrowserCommandProperties{chrome, L"0", L"\"" + chrome + L"\" \"%1\"", L"1", ie + L" -nohome", L"1"}},
        // Without Internet Explorer: the alternative's command once, no second suffix.
        {"alternative alone", {chrome, false, true, std::nullopt},
         BrowserCommandProperties{chrome, L"0", L"\"" + chrome + L"\" \"%1\"", L"0", L"\"" + chrome + L"\" \"%1\"",
                                  L"1"}},
        {"too long", {longPath, false, false, std::nullopt}, std::nullopt},
        // An alternative that does not fit is none; Internet Explorer remains.
        {"alternative too long", {longPath, false, true, ie},
         BrowserCommandProperties{L"C:\\IE\\iexplore.exe", L"0", L"0", L"1", ie + L" -nohome", L"0"}},
        {"nothing fits", {longPath, false, true, std::nullopt}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Describe(c.expected), Describe(ComposeBrowserCommandProperties(c.selection)));
    }
}

}  // namespace
}  // namespace custom_actions_core
