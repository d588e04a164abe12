#include "remover/core/deletion_rules.h"

#include <gtest/gtest.h>

namespace remover_core {
namespace {

TEST(ComparablePath, DropsPrefixesAndMapsAdministrativeShares) {
    const std::pair<const char*, const char*> cases[] = {
        {"\\\\?\\C:\\Windows", "C:\\Windows"},
        {"\\\\?\\UNC\\host\\share\\x", "\\\\host\\share\\x"},
        {"\\\\localhost\\C$\\windows", "C:\\windows"},
        {"//host/d$/Data", "d:\\Data"},
        {"\\\\host\\C$", "C:\\"},
        {"\\\\host\\C$x\\y", "\\\\host\\C$x\\y"},
        {"\\\\host\\share\\C$", "\\\\host\\share\\C$"},
        {"C:\\Program Files", "C:\\Program Files"},
    };
    for (const auto& [path, expected] : cases) EXPECT_EQ(ComparablePath(path), expected) << path;
}

ProtectedFolders Machine() {
    ProtectedFolders folders;
    folders.sealed = {"C:\\WINDOWS", "C:\\PROGRAM FILES\\COMMON FILES\\SYSTEM"};
    folders.covered = {"C:\\PROGRAM FILES", "C:\\USERS\\ME\\APPDATA\\ROAMING"};
    folders.profileRoots = {"C:\\USERS"};
    folders.ownProfiles = {"C:\\USERS\\ME"};
    folders.shareAllowed = {"\\\\FILER\\HOME\\ME\\ROAMING\\HALVORIX\\MERIDEL"};
    return folders;
}

TEST(IsFolderRefused, RefusesWhatIsNotTheProductsInAnySpelling) {
    const std::pair<const char*, bool> cases[] = {
        {"C:\\Program Files\\Halvorix\\Meridel VRML Client", false},
        {"C:\\Users\\me\\AppData\\Roaming\\Halvorix\\Meridel", false},
        {"\\\\filer\\home\\me\\Roaming\\Halvorix\\Meridel\\Sub", false},
        {"\\\\?\\C:\\Program Files\\Halvorix\\Meridel", false},
        {"C:\\Windows\\Help", true},
        {"c:\\windows. \\System32\\drivers\\etc", true},
        {"\\\\localhost\\C$\\Windows\\Temp", true},
        {"\\\\?\\UNC\\localhost\\c$\\windows", true},
        {"C:\\Program Files\\Common Files\\System\\ado", true},
        {"C:\\Program Files\\Common Files", true},
        {"C:\\Users\\bob", true},
        {"C:\\Users\\All Users\\Meridel", true},
        {"C:\\Users\\me", true},
        {"C:\\Users\\me\\AppData\\Roaming", true},
        {"C:\\Users\\meridel\\x", true},
        {"C:\\Program Files\\Halvorix", true},
        {"C:\\Program Files\\HALVORIX.\\", true},
        {"\\\\filer\\home\\me\\Roaming\\Halvorix", true},
        {"\\\\server\\share\\Meridel", true},
        {"C:\\", true},
        {"Docs", true},
    };
    const ProtectedFolders folders = Machine();
    for (const auto& [folder, refused] : cases) EXPECT_EQ(IsFolderRefused(folder, folders), refused) << folder;
}

TEST(IsFileRefused, RefusesRelativeMalformedSystemAndShareFiles) {
    const std::vector<std::string> sealed = {"C:\\WINDOWS"};
    const std::vector<std::string> shareAllowed = {"\\\\FILER\\HOME\\ALICE\\APPDATA\\HALVORIX\\MERIDEL"};
    const std::pair<const char*, bool> cases[] = {
        {"C:\\Program Files\\Halvorix\\Meridel VRML Client\\control.dll", false},
        // Only the product's own redirected folder may be reached on a share.
        {"\\\\FILER\\HOME\\ALICE\\APPDATA\\HALVORIX\\MERIDEL\\res3d.dll", false},
        {"\\\\filer\\share\\Meridel\\control.dll", true},
        {"\\\\localhost\\ADMIN$\\System32\\msxml3.dll", true},
        {"\\\\?\\UNC\\localhost\\ADMIN$\\System32\\msxml3.dll", true},
        {"C:\\windows\\system32\\msxml3.dll", true},
        {"\\\\localhost\\C$\\Windows\\System32\\msxml3.dll", true},
        {"C:\\Program Files\\..\\Windows\\System32\\msxml3.dll", true},
        {"msxml3.dll", true},
        {"C:msxml3.dll", true},
        {"\\msxml3.dll", true},
        {"", true},
    };
    for (const auto& [file, refused] : cases) EXPECT_EQ(IsFileRefused(file, sealed, shareAllowed), refused) << file;
}

// Shares of this computer or of a whole drive are refused for files and
// folders alike; another computer's share only for a file the registry names.
TEST(IsFileRefused, RefusesLocalAndAdministrativeSharesReachesOtherComputers) {
    ProtectedFolders folders = Machine();
    folders.localHosts = {"MYPC", "MYPC.CORP.EXAMPLE"};
    const std::pair<const char*, bool> cases[] = {
        {"\\\\filer\\apps\\Meridel\\control.dll", false},
        {"\\\\filer\\C$\\Meridel\\control.dll", true},
        {"\\\\filer\\Admin$\\control.dll", true},
        {"\\\\localhost\\apps\\control.dll", true},
        {"\\\\127.0.0.1\\apps\\control.dll", true},
        {"\\\\?\\UNC\\mypc\\apps\\control.dll", true},
        {"\\\\MyPc.corp.example.\\apps\\control.dll", true},
    };
    for (const auto& [file, refused] : cases)
        EXPECT_EQ(IsFileRefused(file, {}, folders, ShareReach::OtherComputers), refused) << file;
    EXPECT_TRUE(IsFileRefused("\\\\filer\\apps\\Meridel\\control.dll", {}, folders, ShareReach::OwnFolderOnly));
    EXPECT_TRUE(IsFolderRefused("\\\\filer\\D$\\Users\\me\\AppData\\Roaming\\Halvorix\\Meridel", folders));
}

// Windows 98 keeps Application Data in the Windows folder: the product's folder
// there goes in every spelling, nothing else there, nor one in a system folder.
TEST(IsFolderRefused, AllowsTheProductsApplicationDataInsideTheWindowsFolderOnly) {
    ProtectedFolders folders;
    folders.sealed = {"C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM"};
    folders.windowsRoots = {"C:\\WINDOWS"};
    folders.shareAllowed = {"C:\\WINDOWS\\APPLICATION DATA\\HALVORIX\\MERIDEL", "C:\\WINDOWS\\APPLIC~1\\HALVOR~1\\MERIDEL",
                            "C:\\WINDOWS\\SYSTEM\\HALVORIX\\MERIDEL"};
    const std::pair<const char*, bool> cases[] = {
        {"C:\\WINDOWS\\Application Data\\Halvorix\\Meridel", false},
        {"c:\\windows\\application data\\halvorix\\meridel\\Sub", false},
        {"C:\\WINDOWS\\APPLIC~1\\HALVOR~1\\MERIDEL", false},
        {"C:\\WINDOWS\\Application Data\\Halvorix", true},
        {"C:\\WINDOWS\\SYSTEM\\Halvorix\\Meridel", true},
    };
    for (const auto& [folder, refused] : cases) {
        EXPECT_EQ(IsFolderRefused(folder, folders), refused) << folder;
        EXPECT_EQ(IsFileRefused(folder + std::string("\\a.dll"), folders.sealed, folders, ShareReach::OwnFolderOnly), refused);
    }
}

}  // namespace
}  // namespace remover_core
