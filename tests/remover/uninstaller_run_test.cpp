// Older versions' uninstallers: which registration runs, with which switches,
// and that the remover waits for each (the stand-in writes its record only
// after lingering, so a record present on return proves the wait).
#include <gtest/gtest.h>

#include "platform/exact_text.h"
#include "remover/engine/old_uninstallers.h"
#include "tests/fixtures/uninstaller/run_record.h"
#include "tests/support/file_fixture.h"
#include "tests/support/host_link.h"
#include "tests/support/machine_fixture.h"
#include "tests/support/process_fixture.h"
#include "tests/support/registry_fixture.h"

namespace remover {
namespace {

using namespace testsupport;

// One run's worth of old uninstallers, in a context of its own.
void RunOldUninstallersOnce(HKEY hive, bool silent) {
    RemovalContext context;
    RunOldUninstallers(context, hive, silent);
}

// A folder below Program Files (the maker's by default, where an elevated run
// accepts a per-user uninstaller); removed with everything in it afterwards.
class ProgramFilesFolder {
public:
    explicit ProgramFilesFolder(const char* below = "Halvorix\\Meridel Test Uninstall")
        : path_(*ReadString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir") +
                "\\" + below) {
        RemoveTree(path_);
        CreateFolders(path_);
    }
    ~ProgramFilesFolder() { RemoveTree(path_); }
    ProgramFilesFolder(const ProgramFilesFolder&) = delete;
    ProgramFilesFolder& operator=(const ProgramFilesFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// engine_runner.exe runs the sweep for one hive, silently: elevated (as Wine
// starts every process), or unelevated through limited_launcher.exe.
void RunInOwnProcess(HKEY hive, bool elevated) {
    const std::string runner = "\"" + FixturePath("engine_runner.exe") + "\" --uninstallers " +
                               (hive == HKEY_CURRENT_USER ? "user" : "machine") + " silent";
    EXPECT_EQ(RunAndWait(elevated ? runner : "\"" + FixturePath("limited_launcher.exe") + "\" " + runner), 0u);
}

class OldUninstallers : public ::testing::Test {
protected:
    OldUninstallers()
        : keys_({{HKEY_CURRENT_USER, kUninstallKey},
                 {HKEY_CURRENT_USER, kUninstallKeyRegistered},
                 {HKEY_LOCAL_MACHINE, kUninstallKey},
                 {HKEY_LOCAL_MACHINE, kUninstallKeyRegistered},
                 {HKEY_CURRENT_USER, old_uninstaller::kRecordKey}}) {
        // A program path with blanks, the way older versions were installed.
        program_ = folder_.path() + "\\Meridel VRML Client\\uninst.exe";
        EXPECT_TRUE(CopyFileTo(FixturePath(old_uninstaller::kFileName), program_));
    }

    // The command text with %P replaced by the stand-in's path (%N: without ".exe").
    std::string Command(const std::string& pattern) const {
        std::string command = pattern;
        const size_t at = command.find_first_of('%');
        if (at != std::string::npos)
            command.replace(at, 2, command[at + 1] == 'N' ? program_.substr(0, program_.size() - 4) : program_);
        return command;
    }

    ProgramFilesFolder folder_;
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
    // This test program runs elevated: a per-user command's own arguments,
    // which the user chose, never reach the program.
    const Case cases[] = {
        {HKEY_CURRENT_USER, kUninstallKey, "\"%P\" -u log.txt", true, " /S /U"},
        {HKEY_LOCAL_MACHINE, kUninstallKey, "\"%P\" -u", true, " /S /U -u"},
        // Unquoted, with blanks in the program path: the path stays whole.
        {HKEY_LOCAL_MACHINE, kUninstallKeyRegistered, "%P -u", true, " /S /U -u"},
        {HKEY_CURRENT_USER, kUninstallKeyRegistered, "%P", true, ""},
        {HKEY_LOCAL_MACHINE, kUninstallKey, "%N /log", true, " /S /U /log"},
        {HKEY_CURRENT_USER, kUninstallKey, "\"%P\"", true, ""},
        // An interactive run passes the uninstaller's own arguments only.
        {HKEY_CURRENT_USER, kUninstallKey, "\"%P\" -u log.txt", false, ""},
        {HKEY_LOCAL_MACHINE, kUninstallKeyRegistered, "%P -u", false, " -u"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " | " + c.uninstallString + (c.silent ? " | silent" : ""));
        ClearUninstallerRuns();
        DeleteTree(c.hive, c.key);
        SetString(c.hive, c.key, "UninstallString", Command(c.uninstallString));

        RunOldUninstallersOnce(c.hive, c.silent);
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

    RunOldUninstallersOnce(HKEY_LOCAL_MACHINE, true);

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

        RunOldUninstallersOnce(HKEY_CURRENT_USER, true);

        EXPECT_TRUE(ReadUninstallerRuns().empty());
    }
}

// A look-alike of the backslash (U+FF3C) in the command: read with the 8-bit
// calls it would turn into the path of the program beside it.
TEST_F(OldUninstallers, ACommandWithALookAlikeCharacterStartsNothing) {
    const std::wstring folder = platform::Widen(program_.substr(0, program_.rfind('\\')));
    SetStringW(HKEY_LOCAL_MACHINE, platform::Widen(kUninstallKey), L"UninstallString",
               L"\"" + folder + L"\uFF3Cuninst.exe\" -u");
    ClearUninstallerRuns();
    RunOldUninstallersOnce(HKEY_LOCAL_MACHINE, true);
    EXPECT_TRUE(ReadUninstallerRuns().empty());
}

// A bare program name is looked up in the system folders only: the same name
// in the current folder or beside the running program is never started.
TEST_F(OldUninstallers, ABareNameIsNeverTakenFromTheCurrentOrTheProgramsFolder) {
    const std::string name = "meridel-planted-uninst.exe";
    char current[MAX_PATH] = {};
    ASSERT_GT(::GetCurrentDirectoryA(MAX_PATH, current), 0u);
    const std::string plants[] = {std::string(current) + "\\" + name, FixturePath(name)};
    for (const std::string& plant : plants) ASSERT_TRUE(CopyFileTo(FixturePath(old_uninstaller::kFileName), plant));
    SetString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", name + " -u");
    ClearUninstallerRuns();
    RunOldUninstallersOnce(HKEY_LOCAL_MACHINE, true);
    EXPECT_TRUE(ReadUninstallerRuns().empty());
    for (const std::string& plant : plants) ::DeleteFileA(plant.c_str());
}

// An unquoted path with blanks starts the whole program even where shorter
// paths that the system would try first exist; a program named without
// ".exe" before an argument that ends in ".exe" still gets its switches.
TEST_F(OldUninstallers, UnquotedCommandsStartTheProgramTheyName) {
    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string decoys[] = {std::string(windows, 3) + "Program.exe", folder_.path() + "\\Meridel.exe"};
    for (const std::string& decoy : decoys) CopyFileTo(FixturePath(old_uninstaller::kFileName), decoy);
    struct DropDecoy {
        const std::string& path;
        ~DropDecoy() { ::DeleteFileA(path.c_str()); }
    } dropDecoy{decoys[0]};
    const std::string blanks = folder_.path() + "\\Meridel VRML\\Old Meridel\\uninst.exe";
    CopyFileTo(FixturePath(old_uninstaller::kFileName), blanks);
    ScopedTempFolder plain("old-uninstaller-plain");
    const std::string bare = plain.path() + "\\uninst";
    CopyFileTo(FixturePath(old_uninstaller::kFileName), bare + ".exe");
    struct Case {
        std::string uninstallString;
        std::string program;
        std::string expectedArguments;
    };
    const std::string viewer = plain.path() + "\\viewer.exe";
    const Case cases[] = {
        {blanks + " /log", blanks, " /S /U /log"},
        {bare + " /u " + viewer, bare + ".exe", " /S /U /u " + viewer},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.uninstallString);
        ClearUninstallerRuns();
        SetString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", c.uninstallString);
        RunOldUninstallersOnce(HKEY_LOCAL_MACHINE, true);
        const auto runs = ReadUninstallerRuns();
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(ArgumentsAfterProgram(runs[0].commandLine, c.program), c.expectedArguments);
    }
}

// Any process of the user can write its uninstall entry: an elevated run
// starts a per-user uninstaller only from the maker's folder below Program
// Files or Common Files. An unelevated run, and the machine-wide entry, start
// it as before.
TEST_F(OldUninstallers, AnElevatedRunStartsAPerUserUninstallerOnlyFromTheMakersProgramFolders) {
    ScopedTempFolder elsewhere("old-uninstaller-elsewhere");
    const std::string outside = elsewhere.path() + "\\uninst.exe";
    CopyFileTo(FixturePath(old_uninstaller::kFileName), outside);
    // Another vendor's program below Program Files: a shell or an interpreter
    // there would run whatever the planted command line says.
    ProgramFilesFolder otherVendor("Meridel Test Other Vendor");
    const std::string vendorTool = otherVendor.path() + "\\tool.exe";
    CopyFileTo(FixturePath(old_uninstaller::kFileName), vendorTool);
    struct Case {
        HKEY hive;
        bool elevated;
        const std::string& program;
        size_t runs;
    };
    const Case cases[] = {
        {HKEY_CURRENT_USER, true, outside, 0},  {HKEY_CURRENT_USER, true, vendorTool, 0},
        {HKEY_CURRENT_USER, true, program_, 1},
        {HKEY_CURRENT_USER, false, outside, 1}, {HKEY_CURRENT_USER, false, program_, 1},
        {HKEY_LOCAL_MACHINE, true, outside, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program + (c.hive == HKEY_CURRENT_USER ? " | user" : " | machine") +
                     (c.elevated ? " | elevated" : " | limited"));
        ClearUninstallerRuns();
        DeleteTree(c.hive, kUninstallKey);
        SetString(c.hive, kUninstallKey, "UninstallString", "\"" + c.program + "\" -u");
        RunInOwnProcess(c.hive, c.elevated);
        EXPECT_EQ(ReadUninstallerRuns().size(), c.runs);
        DeleteTree(c.hive, kUninstallKey);
    }
}

// An elevated run starts the file it approved by the final path of the handle
// it held, never by the user's name for it, which a link could re-point
// between the check and the start.
TEST_F(OldUninstallers, AnElevatedRunStartsAPerUserUninstallerByItsHeldFinalPath) {
    ScopedTempFolder elsewhere("old-uninstaller-link");
    const std::string link = elsewhere.path() + "\\uninst.exe";
    ScopedHostLinks links;
    if (!links.File(link, program_)) GTEST_SKIP() << "no host links here";
    SetString(HKEY_CURRENT_USER, kUninstallKey, "UninstallString", "\"" + link + "\" -u");
    ClearUninstallerRuns();
    RunInOwnProcess(HKEY_CURRENT_USER, true);
    const auto runs = ReadUninstallerRuns();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(ArgumentsAfterProgram(runs[0].commandLine, program_), " /S /U");
}

// A process of the user's flips a link between the maker's folder and its own during elevated runs.
TEST_F(OldUninstallers, ALinkFlippedBetweenCheckAndStartNeverStartsTheUsersProgram) {
    const int kRuns = 22;
    const char kLaunches[] = "Software\\MeridelTest\\Launches";  // launch_recorder.exe's records
    ScopedTempFolder own("old-uninstaller-race");
    ASSERT_TRUE(CopyFileTo(FixturePath("launch_recorder.exe"), own.path() + "\\mine\\uninst.exe"));
    SetString(HKEY_CURRENT_USER, kUninstallKey, "UninstallString", "\"" + own.path() + "\\switch\\uninst.exe\" -u");
    ScopedRegistryCleanup launches({{HKEY_CURRENT_USER, kLaunches}});
    size_t users = 0, makers = 0;  // runs that started each
    HostLinkSwapper swapper(own.path() + "\\switch", folder_.path() + "\\Meridel VRML Client", own.path() + "\\mine");
    if (!swapper.started()) GTEST_SKIP() << "no host links here";
    for (int run = 0; run < kRuns; ++run) {
        ClearUninstallerRuns();
        DeleteTree(HKEY_CURRENT_USER, kLaunches);
        RunInOwnProcess(HKEY_CURRENT_USER, true);
        users += !ValueNames(HKEY_CURRENT_USER, kLaunches).empty();
        makers += ReadUninstallerRuns().size();
    }
    EXPECT_EQ(users, 0u) << "of " << kRuns << " runs; the maker's started in " << makers;
    EXPECT_GT(makers, 0u);
}

}  // namespace
}  // namespace remover
