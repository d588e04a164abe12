// Older versions' uninstallers: which registration runs, with which switches,
// and that the remover waits for each (the stand-in writes its record only
// after lingering, so a record present on return proves the wait).
#include <gtest/gtest.h>

#include "remover/engine/old_uninstallers.h"
#include "tests/fixtures/uninstaller/run_record.h"
#include "tests/support/file_fixture.h"
#include "tests/support/machine_fixture.h"
#include "tests/support/registry_fixture.h"

namespace remover {
namespace {

using namespace testsupport;

class OldUninstallers : public ::testing::Test {
protected:
    OldUninstallers()
        : folder_("old uninstaller"),
          keys_({{HKEY_CURRENT_USER, kUninstallKey},
                 {HKEY_CURRENT_USER, kUninstallKeyRegistered},
                 {HKEY_LOCAL_MACHINE, kUninstallKey},
                 {HKEY_LOCAL_MACHINE, kUninstallKeyRegistered},
                 {HKEY_CURRENT_USER, old_uninstaller::kRecordKey}}) {
        // A program path with blanks, the way older versions were installed.
        program_ = folder_.path() + "\\Meridel VRML Client\\uninst.exe";
        EXPECT_TRUE(CopyFileTo(FixturePath(old_uninstaller::kFileName), program_));
    }

    // The command text with %P replaced by the stand-in's path.
    std::string Command(const std::string& pattern) const {
        std::string command = pattern;
        const size_t at = command.find("%P");
        if (at != std::string::npos) command.replace(at, 2, program_);
        return command;
    }

    ScopedTempFolder folder_;
    ScopedRegistryCleanup keys_;
    std::string program_;
};

TEST_F(OldUninstallers, RunWithTheSwitchesOfTheRunKindAndAreWaitedFor) {
    struct Case {
        HKEY hive;
        const char* key;
        const char* uninstallString;
        bool silent;
        const char* expectedArguments;
    };
    const Case cases[] = {
        {HKEY_CURRENT_USER, kUninstallKey, "\"%P\" -u log.txt", true, " /S /U -u log.txt"},
        {HKEY_LOCAL_MACHINE, kUninstallKey, "\"%P\" -u", true, " /S /U -u"},
        // Unquoted, with blanks in the program path: the path stays whole.
        {HKEY_LOCAL_MACHINE, kUninstallKeyRegistered, "%P -u", true, " /S /U -u"},
        {HKEY_CURRENT_USER, kUninstallKeyRegistered, "%P", true, ""},
        {HKEY_CURRENT_USER, kUninstallKey, "\"%P\"", true, ""},
        // An interactive run passes the uninstaller's own arguments only.
        {HKEY_CURRENT_USER, kUninstallKey, "\"%P\" -u log.txt", false, " -u log.txt"},
        {HKEY_LOCAL_MACHINE, kUninstallKeyRegistered, "%P -u", false, " -u"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " | " + c.uninstallString + (c.silent ? " | silent" : ""));
        ClearUninstallerRuns();
        DeleteTree(c.hive, c.key);
        SetString(c.hive, c.key, "UninstallString", Command(c.uninstallString));

        RunOldUninstallers(c.hive, c.silent);
        const unsigned long long returned = SystemTimeNow();

        const auto runs = ReadUninstallerRuns();
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(ArgumentsAfterProgram(runs[0].commandLine, program_), c.expectedArguments);
        EXPECT_LE(runs[0].end, returned);
        DeleteTree(c.hive, c.key);
    }
}

TEST_F(OldUninstallers, TheFirstKeyNameWinsOverTheRegisteredSignName) {
    SetString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", Command("\"%P\" first"));
    SetString(HKEY_LOCAL_MACHINE, kUninstallKeyRegistered, "UninstallString", Command("\"%P\" second"));
    ClearUninstallerRuns();

    RunOldUninstallers(HKEY_LOCAL_MACHINE, true);

    const auto runs = ReadUninstallerRuns();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(ArgumentsAfterProgram(runs[0].commandLine, program_), " /S /U first");
}

TEST_F(OldUninstallers, NothingRunsWithoutAUsableRegistration) {
    struct Case {
        const char* what;
        const char* key;  // null: no registration at all
        DWORD type;
        std::string data;  // raw bytes of UninstallString; empty: no value
    };
    const std::string overLong = "\"" + program_ + "\" " + std::string(300, 'a') + '\0';
    const Case cases[] = {
        {"no registration", nullptr, REG_SZ, ""},
        {"no UninstallString", kUninstallKey, REG_SZ, ""},
        {"over 260 bytes", kUninstallKeyRegistered, REG_SZ, overLong},
        {"no such program", kUninstallKey, REG_SZ, std::string("C:\\nowhere\\uninst.exe -u") + '\0'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClearUninstallerRuns();
        DeleteTree(HKEY_CURRENT_USER, kUninstallKey);
        DeleteTree(HKEY_CURRENT_USER, kUninstallKeyRegistered);
        if (c.key) {
            CreateKey(HKEY_CURRENT_USER, c.key);
            SetString(HKEY_CURRENT_USER, c.key, "DisplayName", "Meridel VRML Client");
            if (!c.data.empty()) SetRaw(HKEY_CURRENT_USER, c.key, "UninstallString", c.type, c.data);
        }

        RunOldUninstallers(HKEY_CURRENT_USER, true);

        EXPECT_TRUE(ReadUninstallerRuns().empty());
    }
}

}  // namespace
}  // namespace remover
