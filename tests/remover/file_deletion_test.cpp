#include "remover/engine/file_deletion.h"
#include "remover/engine/path_spelling.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/exact_text.h"
#include "platform/unique_resource.h"

#include "tests/support/file_fixture.h"
#include "tests/support/machine_fixture.h"
#include "tests/support/process_fixture.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/removal_support.h"

namespace {

using namespace testsupport;

bool IsPending(const std::string& path) {
    const auto pending = PendingDeletions();
    return std::find(pending.begin(), pending.end(), path) != pending.end();
}

TEST(DeleteFileOrSchedule, DeletesAtOnceWhatNoProcessHolds) {
    ScopedTempFolder folder("delete-now");
    const std::string readOnly = folder.path() + "\\readonly.dll";
    ASSERT_TRUE(WriteFile(readOnly, "x", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    remover::RemovalContext context;
    remover::DeleteFileOrSchedule(context, readOnly);
    EXPECT_FALSE(FileExists(readOnly));
    // Missing files and folders on the path are no reason to restart.
    remover::DeleteFileOrSchedule(context, folder.path() + "\\missing.dll");
    remover::DeleteFileOrSchedule(context, folder.path() + "\\no folder\\missing.dll");
    remover::DeleteFileOrSchedule(context, "");
    EXPECT_FALSE(context.restartNeeded);
    EXPECT_FALSE(IsPending(readOnly));
}

TEST(DeleteFileOrSchedule, SchedulesAFileInUseThroughMoveFileEx) {
    ScopedTempFolder folder("delete-later");
    const std::string busy = folder.path() + "\\busy.dll";
    ASSERT_TRUE(WriteFile(busy, "x", FILE_ATTRIBUTE_READONLY));
    remover::RemovalContext context = StandardUserContext();
    {
        FileHolder holder({busy});
        ASSERT_TRUE(holder.holding());
        remover::DeleteFileOrSchedule(context, busy);
        EXPECT_TRUE(FileExists(busy));
        EXPECT_TRUE(IsPending(busy));
        EXPECT_TRUE(context.restartNeeded);
        // Attributes stay cleared though the file stays.
        EXPECT_EQ(::GetFileAttributesA(busy.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    }
    // Later deletions that succeed leave the flag set.
    const std::string free = folder.path() + "\\free.dll";
    ASSERT_TRUE(WriteFile(free));
    remover::DeleteFileOrSchedule(context, free);
    EXPECT_TRUE(context.restartNeeded);
    DropPendingBelow(folder.path());
}

TEST(ExpandToLongPath, BringsEveryExistingComponentToItsStoredForm) {
    ScopedTempFolder folder("long-path");
    const std::string longFolder = folder.path() + "\\Halvorix Components";
    const std::string longFile = longFolder + "\\Meridel Scene Engine.dll";
    ASSERT_TRUE(WriteFile(longFile));
    char shortFile[MAX_PATH] = {};
    ASSERT_GT(::GetShortPathNameA(longFile.c_str(), shortFile, MAX_PATH), 0u);
    const std::string shortText = shortFile;
    const std::string shortFolder = shortText.substr(0, shortText.rfind('\\'));
    char upper[MAX_PATH] = {};
    lstrcpyA(upper, longFile.c_str());
    ::CharUpperA(upper);
    // A long name the code page cannot spell ("Look\Alike.dll" by best-fit) expands to nothing.
    const std::wstring lookAlike = std::wstring(longFolder.begin(), longFolder.end()) + L"\\Look\uFF3CAlike.dll";
    platform::UniqueFile created(::CreateFileW(lookAlike.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    ASSERT_TRUE(created);
    created.reset();
    wchar_t shortWide[MAX_PATH] = {};
    ASSERT_GT(::GetShortPathNameW(lookAlike.c_str(), shortWide, MAX_PATH), 0u);
    std::string shortLookAlike;
    ASSERT_TRUE(platform::NarrowExactly(shortWide, shortLookAlike)) << "a short name is plain ASCII";
    struct Case {
        std::string path;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {shortText, longFile},
        {shortLookAlike, std::nullopt},
        {upper, remover::ExpandToLongPath(longFile).value_or("")},
        {shortFolder + "\\not there.dll", longFolder + "\\not there.dll"},
        {shortFolder + "\\", longFolder + "\\"},
        {"engine.dll", "engine.dll"},
        {"C:\\", "C:\\"},
        {"\\\\server\\share\\engine.dll", "\\\\server\\share\\engine.dll"},
        // A wildcard is never resolved into some other file's name.
        {longFolder + "\\*.dll", longFolder + "\\*.dll"},
        {shortFolder + "\\Meridel Scene Engine.dl?", longFolder + "\\Meridel Scene Engine.dl?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(remover::ExpandToLongPath(c.path), c.expected);
    }
    EXPECT_EQ(remover::ExpandToLongPath(upper), longFile);
}

TEST(ExpandToLongPath, RefusesPathsOver260Characters) {
    const std::string fits = "C:\\" + std::string(257, 'a');
    EXPECT_EQ(remover::ExpandToLongPath(fits), fits);
    EXPECT_EQ(remover::ExpandToLongPath(fits + "a"), std::nullopt);
}

// Windows 98 family: a program that Wine presents as Windows 98 writes its
// deferred deletions into the real wininit.ini of the prefix.
class Win98Deletion : public ::testing::Test {
protected:
    ScopedTempFolder folder_{"win98"};
    ScopedWininit wininit_;
    ScopedWin98Program win98_{"schedule_probe.exe"};

    static bool Seed(const std::string& content) {
        ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, "wininit.ini");  // drop any cached copy
        return WriteFile(WininitPath(), content);
    }
    static std::string ShortPath(const std::string& path) {
        char shortPath[MAX_PATH] = {};
        ::GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
        return shortPath;
    }
    static DWORD RunProbe(const std::vector<std::string>& paths) {
        std::string commandLine = "\"" + FixturePath("schedule_probe.exe") + "\"";
        for (const std::string& path : paths) commandLine += " \"" + path + "\"";
        return RunAndWait(commandLine);
    }
};

TEST_F(Win98Deletion, AddsOneNulLinePerFileInCallOrder) {
    struct Case {
        const char* name;
        std::string before;  // wininit.ini before the run ("" = no file)
        std::string expectedStart;
    };
    const Case cases[] = {
        {"no file", "", "[rename]\r\n"},
        {"other section only", "[other]\r\nkey=value\r\n", "[other]\r\nkey=value\r\n[rename]\r\n"},
        {"existing lines", "[rename]\r\nNUL=C:\\OLD1.DLL\r\nNUL=C:\\OLD2.DLL\r\nC:\\NEW.DLL=C:\\TMP.DLL\r\n",
         "[rename]\r\nNUL=C:\\OLD1.DLL\r\nNUL=C:\\OLD2.DLL\r\nC:\\NEW.DLL=C:\\TMP.DLL\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string first = folder_.path() + "\\Meridel Engine.dll";
        const std::string second = folder_.path() + "\\second.dll";
        const std::string gone = folder_.path() + "\\gone.dll";
        ASSERT_TRUE(WriteFile(first));
        ASSERT_TRUE(WriteFile(second));
        ASSERT_TRUE(WriteFile(gone));
        if (c.before.empty())
            ::DeleteFileA(WininitPath().c_str());
        else
            ASSERT_TRUE(Seed(c.before));
        {
            FileHolder holder({first, second});
            ASSERT_TRUE(holder.holding());
            EXPECT_EQ(RunProbe({first, gone, second}), 1u);
        }
        const std::string expected =
            c.expectedStart + "NUL=" + ShortPath(first) + "\r\nNUL=" + ShortPath(second) + "\r\n";
        EXPECT_EQ(ReadWholeFile(WininitPath()), expected);
        EXPECT_FALSE(FileExists(gone));
        EXPECT_FALSE(IsPending(first));
        ::DeleteFileA(first.c_str());
        ::DeleteFileA(second.c_str());
    }
}

TEST_F(Win98Deletion, KeepsASectionLargerThanTheFirstBuffer) {
    std::string before = "[rename]\r\n";
    for (int i = 0; i < 3000; ++i) before += "NUL=C:\\WINDOWS\\TEMP\\MER" + std::to_string(i) + ".TMP\r\n";
    ASSERT_GT(before.size(), 65536u);
    ASSERT_TRUE(Seed(before));
    const std::string busy = folder_.path() + "\\busy.dll";
    ASSERT_TRUE(WriteFile(busy));
    {
        FileHolder holder({busy});
        ASSERT_TRUE(holder.holding());
        EXPECT_EQ(RunProbe({busy}), 1u);
    }
    EXPECT_EQ(ReadWholeFile(WininitPath()), before + "NUL=" + ShortPath(busy) + "\r\n");
}

// The Windows 95 family has no elevated runs: a file in use below the
// profile is scheduled like any other.
TEST_F(Win98Deletion, SchedulesAFileInUseBelowTheProfile) {
    const ScopedFolderCleanup maker(AppDataMakerFolder());
    ASSERT_TRUE(Seed(""));
    const std::string held = AppDataProductFolder() + "\\held.dll";
    ASSERT_TRUE(WriteFile(held));
    {
        FileHolder holder({held});
        ASSERT_TRUE(holder.holding());
        EXPECT_EQ(RunProbe({held}), 1u);
    }
    EXPECT_EQ(ReadWholeFile(WininitPath()), "[rename]\r\nNUL=" + ShortPath(held) + "\r\n");
}

TEST_F(Win98Deletion, FreeFilesLeaveWininitAlone) {
    ASSERT_TRUE(Seed("[rename]\r\nNUL=C:\\OLD.DLL\r\n"));
    const std::string free = folder_.path() + "\\free.dll";
    ASSERT_TRUE(WriteFile(free, "x", FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(RunProbe({free, folder_.path() + "\\missing.dll"}), 0u);
    EXPECT_FALSE(FileExists(free));
    EXPECT_EQ(ReadWholeFile(WininitPath()), "[rename]\r\nNUL=C:\\OLD.DLL\r\n");
}

}  // namespace
