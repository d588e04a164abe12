#include "platform/held_folder.h"

#include <gtest/gtest.h>

#include "platform/exact_text.h"
#include "tests/support/file_fixture.h"
#include "tests/support/host_link.h"

namespace {

using namespace testsupport;

// A listed file is deleted below the held folder only while its name still
// names the very object the listing gave: after the listing another process
// may swap the file, or the held folder itself for a link to someone else's.
TEST(HeldFolderTest, DeletesOnlyTheObjectsItsListingGave) {
    enum class Swap { None, FileReplaced, FolderForLink };
    // Whatever happens, the other program's file stays. The held folder moved
    // away still holds our file, and deleting it there is no harm.
    const struct {
        Swap swap;
        int deleted;  // -1: either way
    } cases[] = {{Swap::None, 1}, {Swap::FileReplaced, 0}, {Swap::FolderForLink, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.swap));
        const ScopedTempFolder temp("held-folder");
        const std::string held = temp.path() + "\\Held", moved = temp.path() + "\\Moved";
        const std::string other = temp.path() + "\\Other";
        ASSERT_TRUE(WriteFile(held + "\\a.dll", "ours"));
        ASSERT_TRUE(WriteFile(other + "\\a.dll", "theirs"));
        const platform::HeldFolder folder = platform::HeldFolder::Open(platform::Widen(held));
        ASSERT_TRUE(folder);
        std::vector<platform::HeldEntry> entries;
        ASSERT_TRUE(folder.List(entries));
        ScopedHostLinks links;
        if (c.swap == Swap::FileReplaced) {
            // Renamed over it, so that the planted file cannot reuse the listed one's index.
            ASSERT_TRUE(WriteFile(held + "\\planted.dll", "planted"));
            ASSERT_TRUE(::MoveFileExA((held + "\\planted.dll").c_str(), (held + "\\a.dll").c_str(),
                                      MOVEFILE_REPLACE_EXISTING));
        } else if (c.swap == Swap::FolderForLink) {
            ASSERT_TRUE(::MoveFileA(held.c_str(), moved.c_str()));
            if (!links.Folder(held, other)) GTEST_SKIP() << "no host links here";
        }
        int deleted = 0;
        for (const platform::HeldEntry& entry : entries)
            if (entry.name == L"a.dll") deleted += folder.DeleteFileBelow(entry);
        if (c.deleted >= 0) {
            EXPECT_EQ(deleted, c.deleted);
        }
        EXPECT_TRUE(FileExists(other + "\\a.dll"));
    }
}

}  // namespace
