#include "remover/core/uninstall_command.h"

#include <gtest/gtest.h>

namespace remover_core {
namespace {

TEST(InsertSilentSwitches, PutsTheSwitchesBetweenProgramAndArguments) {
    struct Case {
        const char* command;
        const char* expected;
    };
    const Case cases[] = {
        // Quoted program: right after the closing quote and its space.
        {"\"C:\\Program Files\\Meridel\\uninst.exe\" -u", "\"C:\\Program Files\\Meridel\\uninst.exe\" /S /U -u"},
        {"\"C:\\u.exe\" a b", "\"C:\\u.exe\" /S /U a b"},
        {"\"C:\\u.exe\"", "\"C:\\u.exe\""},
        {"\"C:\\u.exe\"-u", "\"C:\\u.exe\"-u"},
        {"\"C:\\never closed.exe -u", "\"C:\\never closed.exe -u"},
        {"\" -u", "\" -u"},
        {"\"", "\""},
        // Unquoted program without blanks.
        {"C:\\uninst.exe -u", "C:\\uninst.exe /S /U -u"},
        {"C:\\uninst.exe  -u", "C:\\uninst.exe /S /U  -u"},
        {"C:\\uninst.exe", "C:\\uninst.exe"},
        {"C:\\uninst.exe ", "C:\\uninst.exe /S /U "},
        // Unquoted program whose path holds blanks: the path stays whole.
        {"C:\\Program Files\\Meridel\\uninst.exe -u", "C:\\Program Files\\Meridel\\uninst.exe /S /U -u"},
        {"C:\\Program Files\\Meridel\\UNINST.EXE -u", "C:\\Program Files\\Meridel\\UNINST.EXE /S /U -u"},
        {"C:\\Program Files\\Meridel\\uninst.exe", "C:\\Program Files\\Meridel\\uninst.exe"},
        {"C:\\Program Files\\a.exe.d\\u.exe -u C:\\x.exe", "C:\\Program Files\\a.exe.d\\u.exe /S /U -u C:\\x.exe"},
        {"C:\\a.exefile dir\\u.exe x", "C:\\a.exefile dir\\u.exe /S /U x"},
        // No ".exe" ends a word: the first blank.
        {"C:\\Tools\\uninst.com -u", "C:\\Tools\\uninst.com /S /U -u"},
        {"rundll32 setup.dll,Remove", "rundll32 /S /U setup.dll,Remove"},
        {"C:\\Tools\\uninst", "C:\\Tools\\uninst"},
        {" leading", " leading"},
        {"", ""},
        {".exe", ".exe"},
        {".exe x", ".exe /S /U x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        EXPECT_EQ(InsertSilentSwitches(c.command), c.expected);
    }
}

TEST(InsertSilentSwitches, GrowsBeyondTheRegistryBufferWithoutLoss) {
    // A command that fills the whole 260-byte read buffer still gets all of
    // its switches and keeps every character (the sanitizers watch the copy).
    for (const std::string& program : {std::string("\"C:\\u.exe\" "), std::string("C:\\u.exe ")}) {
        const std::string arguments(259 - program.size(), 'a');
        const std::string command = program + arguments;
        SCOPED_TRACE(program);
        const std::string result = InsertSilentSwitches(command);
        EXPECT_EQ(result, program + "/S /U " + arguments);
        EXPECT_EQ(result.size(), 259u + kSilentSwitches.size());
    }
}

}  // namespace
}  // namespace remover_core
