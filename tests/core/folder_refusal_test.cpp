#include "remover/core/folder_refusal.h"

#include <gtest/gtest.h>

namespace remover_core {
namespace {

using S = FolderShape;

TEST(ClassifyFolderPath, WalksOnlyFoldersBelowADriveRootOrShare) {
    struct Case {
        const char* path;
        FolderShape expected;
    };
    const Case cases[] = {
        {"C:\\Program Files\\Halvorix\\Meridel", S::Walkable},
        {"c:/Docs", S::Walkable},
        {"C:\\Docs\\\\Guide", S::Walkable},
        {"\\\\server\\share\\Meridel", S::Walkable},
        {"", S::Empty},
        {"C:", S::Relative},
        {"C:Docs", S::Relative},
        {"Docs", S::Relative},
        {"\\Docs", S::Relative},
        {"..\\Docs", S::Relative},
        {"C:\\", S::DriveRoot},
        {"C:/", S::DriveRoot},
        {"C:\\\\", S::DriveRoot},
        {"\\\\server", S::ShareRoot},
        {"\\\\server\\share", S::ShareRoot},
        {"\\\\server\\share\\", S::ShareRoot},
        {"//server/share", S::ShareRoot},
        {"\\\\", S::ShareRoot},
        {"C:\\.", S::BadComponent},
        {"C:\\Docs\\..", S::BadComponent},
        {"C:\\Docs\\...", S::BadComponent},
        {"C:\\ ", S::BadComponent},
        {"C:\\Docs\\*", S::BadComponent},
        {"C:\\Docs\\a?", S::BadComponent},
        {"C:\\Docs:stream", S::BadComponent},
        {"\\\\?\\C:\\Docs", S::BadComponent},
        {"\\\\.\\C:\\Docs", S::BadComponent},
        {"1:\\Docs", S::Relative},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ClassifyFolderPath(c.path), c.expected);
    }
}

TEST(CoversFolder, MatchesTheFolderAndEveryFolderAboveIt) {
    struct Case {
        const char* folder;
        const char* systemFolder;
        bool covers;
    };
    const Case cases[] = {
        {"C:\\Windows", "C:\\windows", true},
        {"c:\\WINDOWS\\", "C:\\Windows", true},
        {"C:\\Windows. ", "C:\\Windows", true},
        {"C:\\users", "C:\\users\\me\\AppData\\Roaming", true},
        {"C:/users/me", "C:\\users\\me\\AppData\\Roaming", true},
        {"C:\\users\\me\\AppData\\Roaming\\Halvorix\\Meridel", "C:\\users\\me\\AppData\\Roaming", false},
        {"C:\\Program Files\\Halvorix", "C:\\Program Files", false},
        {"C:\\Program", "C:\\Program Files", false},
        {"D:\\Windows", "C:\\Windows", false},
        {"\\\\srv\\share\\users", "\\\\SRV\\Share\\users\\me", true},
        {"C:\\Windows", "", false},
        {"C:\\Windows", "relative", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.folder) + " / " + c.systemFolder);
        EXPECT_EQ(CoversFolder(c.folder, c.systemFolder), c.covers);
    }
}

TEST(IsDeletableFolder, RefusesBadShapesAndSystemFolders) {
    const std::vector<std::string> system = {"C:\\windows", "C:\\windows\\system32", "C:\\Program Files",
                                             "C:\\users", "C:\\users\\me\\AppData\\Roaming"};
    EXPECT_TRUE(IsDeletableFolder("C:\\Program Files\\Halvorix\\Meridel VRML Client", system));
    EXPECT_TRUE(IsDeletableFolder("C:\\users\\me\\AppData\\Roaming\\Halvorix\\Meridel", system));
    EXPECT_TRUE(IsDeletableFolder("C:\\Docs", system));
    EXPECT_FALSE(IsDeletableFolder("C:\\Program Files", system));
    EXPECT_FALSE(IsDeletableFolder("C:\\users\\me", system));
    EXPECT_FALSE(IsDeletableFolder("C:", system));
    EXPECT_FALSE(IsDeletableFolder("", system));
    EXPECT_TRUE(IsDeletableFolder("C:\\Docs", {}));
}

}  // namespace
}  // namespace remover_core
