#include "remover/core/option_scan.h"

#include <gtest/gtest.h>

namespace remover_core {
namespace {

using K = OptionKind;

struct Case {
    const char* commandLine;
    std::vector<ScannedOption> expected;
};

std::string Describe(const std::vector<ScannedOption>& options) {
    std::string text;
    for (const auto& o : options) text += std::to_string(static_cast<int>(o.kind)) + ":" + o.argument + " ";
    return text;
}

TEST(ScanOptions, FollowsTheSlashAndBlankRules) {
    const Case cases[] = {
        {"", {}},
        {"meridremover.exe", {}},
        {"meridremover.exe /s", {{K::Silent, ""}}},
        {"meridremover.exe /S /F", {{K::Silent, ""}, {K::KeepFolders, ""}}},
        {"meridremover.exe\t/s\t/f", {{K::Silent, ""}, {K::KeepFolders, ""}}},
        {"x.exe /s/f", {{K::Ignored, "s/f"}}},
        {"x.exe /silent /sf", {{K::Ignored, "silent"}, {K::Ignored, "sf"}}},
        {"x.exe -s", {}},
        {"x.exe /", {{K::Ignored, ""}}},
        {"x.exe / /s", {{K::Ignored, ""}, {K::Silent, ""}}},
        {"x.exe /x", {{K::KeepComponent, ""}}},
        {"x.exe /x {A}", {{K::KeepComponent, ""}}},
        {"x.exe /X{a-b} /x{c}", {{K::KeepComponent, "{a-b}"}, {K::KeepComponent, "{c}"}}},
        {"x.exe /x{c} /x{c}", {{K::KeepComponent, "{c}"}, {K::KeepComponent, "{c}"}}},
        // The program's own path is never scanned; in the arguments quotes mean nothing.
        {"\"C:/Tools/rm.exe\" /s", {{K::Silent, ""}}},
        {"C:/s /f", {{K::KeepFolders, ""}}},
        {"\"C:\\rt2 /s dir\\m.exe\"", {}},
        {"\"C:\\a b\\m.exe\"/s \"/f\"", {{K::Silent, ""}, {K::Ignored, "f\""}}},
        {"x.exe  /s  ", {{K::Silent, ""}}},
        {"x.exe /s\t", {{K::Silent, ""}}},
        // The report's file: attached, and in double quotes when it holds blanks.
        {"x.exe /rC:\\r.txt /s", {{K::Report, "C:\\r.txt"}, {K::Silent, ""}}},
        {"x.exe /R\"C:\\a b/s\\r.txt\" /f", {{K::Report, "C:\\a b/s\\r.txt"}, {K::KeepFolders, ""}}},
        {"x.exe /r /r\"\" /r\"a\"b /r\"open /s", {{K::Report, ""}, {K::Report, ""}, {K::Report, ""}, {K::Report, ""}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.commandLine);
        EXPECT_EQ(Describe(ScanOptions(ArgumentsOf(c.commandLine))), Describe(c.expected));
    }
}

std::string Ascii(std::wstring_view text) {
    std::string narrow;
    for (wchar_t c : text) narrow += c < 0x80 ? static_cast<char>(c) : '?';
    return narrow;
}

// The program's path ends where Windows ends the first argument; both widths
// split alike, and the words of the arguments are what the blanks leave.
TEST(ArgumentsOf, SkipsTheProgramPathOnly) {
    const struct {
        const wchar_t* commandLine;
        std::wstring_view arguments;
        std::vector<std::wstring_view> words;
    } cases[] = {
        {L"", L"", {}},
        {L"m.exe", L"", {}},
        {L"m.exe \t /s  /f ", L"/s  /f ", {L"/s", L"/f"}},
        {L"\"C:\\a /s b\\m.exe\" /f", L"/f", {L"/f"}},
        {L"\"C:\\a b\\m.exe\"/x{a}\t/s", L"/x{a}\t/s", {L"/x{a}", L"/s"}},
        {L"\"C:\\no end /s", L"", {}},
        {L"C:\\rt2\uFF0Fs\\m.exe \uFF0Fs", L"\uFF0Fs", {L"\uFF0Fs"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.commandLine)));
        EXPECT_EQ(ArgumentsOf(std::wstring_view(c.commandLine)), c.arguments);
        EXPECT_EQ(BlankSeparatedWords(ArgumentsOf(std::wstring_view(c.commandLine))), c.words);
        const std::string narrow = Ascii(c.commandLine);
        EXPECT_EQ(ArgumentsOf(std::string_view(narrow)), Ascii(c.arguments));
    }
}

// The report's file is taken from the UTF-16 text, where its token lies.
TEST(FindReportOptions, NamesTheFileAndItsToken) {
    const std::wstring arguments = L"/s /r\"C:\\D\u00E9p\u00F4t\\a b.txt\" /x{a}/rq /r";
    const std::vector<ReportOption> reports = FindReportOptions(arguments);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(arguments.substr(reports[0].begin, reports[0].end - reports[0].begin), L"/r\"C:\\D\u00E9p\u00F4t\\a b.txt\"");
    EXPECT_EQ(reports[0].fileName, L"C:\\D\u00E9p\u00F4t\\a b.txt");
    EXPECT_EQ(reports[1].begin, arguments.size() - 2);
    EXPECT_EQ(reports[1].fileName, L"");
}

}  // namespace
}  // namespace remover_core
