#include "remover/core/uninstall_command.h"

#include <gtest/gtest.h>

#include <set>

namespace remover_core {
namespace {

// The files that exist in each case; every other path does not.
FileTest Files(std::set<std::string> existing) {
    return [existing = std::move(existing)](const std::string& path) { return existing.count(path) > 0; };
}

const char kOld[] = "C:\\Program Files\\Halvorix\\Old Meridel\\uninst.exe";

TEST(ParseUninstallCommand, FindsTheProgramPartAndPutsTheSwitchesAfterIt) {
    struct Case {
        const char* command;
        std::set<std::string> files;
        const char* program;  // null: nothing is started
        bool found;
        const char* silentLine;
        const char* interactiveLine;
    };
    const Case cases[] = {
        // Quoted program: the text inside the quotes, whatever exists.
        {"\"C:\\Program Files\\Meridel\\uninst.exe\" -u", {}, "C:\\Program Files\\Meridel\\uninst.exe", false,
         "\"C:\\Program Files\\Meridel\\uninst.exe\" /S /U -u", "\"C:\\Program Files\\Meridel\\uninst.exe\" -u"},
        {"\"C:\\u.exe\" a b", {"C:\\u.exe"}, "C:\\u.exe", true, "\"C:\\u.exe\" /S /U a b", "\"C:\\u.exe\" a b"},
        {"\"C:\\u.exe\"", {}, "C:\\u.exe", false, "\"C:\\u.exe\"", "\"C:\\u.exe\""},
        {"\"C:\\u.exe\"-u", {}, "C:\\u.exe", false, "\"C:\\u.exe\"-u", "\"C:\\u.exe\"-u"},
        {"\"C:\\never closed.exe -u", {}, "C:\\never closed.exe -u", false, "\"C:\\never closed.exe -u\"",
         "\"C:\\never closed.exe -u\""},
        {"\"\" -u", {}, nullptr, false, "", ""},
        {"\"", {}, nullptr, false, "", ""},
        // Unquoted path with blanks up to ".exe": a shorter path that happens
        // to exist never wins over the whole one.
        {"C:\\Program Files\\Halvorix\\Old Meridel\\uninst.exe /log",
         {"C:\\Program.exe", "C:\\Program Files\\Halvorix\\Old.exe", kOld}, kOld, true,
         "\"C:\\Program Files\\Halvorix\\Old Meridel\\uninst.exe\" /S /U /log",
         "\"C:\\Program Files\\Halvorix\\Old Meridel\\uninst.exe\" /log"},
        // Without ".exe": the longest prefix that exists with ".exe" added.
        {"C:\\Program Files\\Halvorix\\Old Meridel\\uninst /log",
         {"C:\\Program.exe", "C:\\Program Files\\Halvorix\\Old.exe", kOld}, kOld, true,
         "\"C:\\Program Files\\Halvorix\\Old Meridel\\uninst.exe\" /S /U /log",
         "\"C:\\Program Files\\Halvorix\\Old Meridel\\uninst.exe\" /log"},
        {"C:\\Program Files\\Meridel\\UNINST.EXE", {"C:\\Program Files\\Meridel\\UNINST.EXE"},
         "C:\\Program Files\\Meridel\\UNINST.EXE", true, "\"C:\\Program Files\\Meridel\\UNINST.EXE\"",
         "\"C:\\Program Files\\Meridel\\UNINST.EXE\""},
        {"C:\\uninst.exe  -u", {"C:\\uninst.exe"}, "C:\\uninst.exe", true, "\"C:\\uninst.exe\" /S /U  -u",
         "\"C:\\uninst.exe\"  -u"},
        {"C:\\a.exe.d\\u.exe -u C:\\x.exe", {"C:\\a.exe.d\\u.exe"}, "C:\\a.exe.d\\u.exe", true,
         "\"C:\\a.exe.d\\u.exe\" /S /U -u C:\\x.exe", "\"C:\\a.exe.d\\u.exe\" -u C:\\x.exe"},
        // No such ".exe" path: the first word, as written or with ".exe".
        {"C:\\Old\\uninst /u C:\\Old\\viewer.exe", {"C:\\Old\\uninst.exe", "C:\\Old\\viewer.exe"},
         "C:\\Old\\uninst.exe", true, "\"C:\\Old\\uninst.exe\" /S /U /u C:\\Old\\viewer.exe",
         "\"C:\\Old\\uninst.exe\" /u C:\\Old\\viewer.exe"},
        {"C:\\Tools\\uninst.com -u", {"C:\\Tools\\uninst.com"}, "C:\\Tools\\uninst.com", true,
         "\"C:\\Tools\\uninst.com\" /S /U -u", "\"C:\\Tools\\uninst.com\" -u"},
        // Nothing exists: the first word, as an unresolved program.
        {"C:\\Program Files\\Halvorix\\Old Meridel\\uninst.exe /log", {}, "C:\\Program", false,
         "\"C:\\Program\" /S /U Files\\Halvorix\\Old Meridel\\uninst.exe /log",
         "\"C:\\Program\" Files\\Halvorix\\Old Meridel\\uninst.exe /log"},
        {"rundll32 setup.dll,Remove", {}, "rundll32", false, "\"rundll32\" /S /U setup.dll,Remove",
         "\"rundll32\" setup.dll,Remove"},
        {"C:\\Tools\\uninst", {}, "C:\\Tools\\uninst", false, "\"C:\\Tools\\uninst\"", "\"C:\\Tools\\uninst\""},
        {".exe x", {}, ".exe", false, "\".exe\" /S /U x", "\".exe\" x"},
        // Nothing that could be quoted.
        {" leading", {}, nullptr, false, "", ""},
        {"", {}, nullptr, false, "", ""},
        {"C:\\a\"b c", {}, nullptr, false, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        for (const bool silent : {true, false}) {
            const auto launch = ParseUninstallCommand(c.command, silent, Files(c.files));
            if (!c.program) {
                EXPECT_FALSE(launch);
                continue;
            }
            ASSERT_TRUE(launch);
            EXPECT_EQ(launch->program, c.program);
            EXPECT_EQ(launch->found, c.found);
            EXPECT_EQ(launch->commandLine, silent ? c.silentLine : c.interactiveLine);
        }
    }
}

TEST(ParseUninstallCommand, GrowsBeyondTheRegistryBufferWithoutLoss) {
    // A command that fills the whole 260-byte read buffer still gets all of
    // its switches and keeps every character (the sanitizers watch the copy).
    for (const std::string& program : {std::string("\"C:\\u.exe\" "), std::string("C:\\u.exe ")}) {
        const std::string arguments(259 - program.size(), 'a');
        SCOPED_TRACE(program);
        const auto launch = ParseUninstallCommand(program + arguments, true, Files({"C:\\u.exe"}));
        ASSERT_TRUE(launch);
        EXPECT_EQ(launch->commandLine, "\"C:\\u.exe\" /S /U " + arguments);
    }
}

}  // namespace
}  // namespace remover_core
