// The per-user file types the installer registered go with the product; what
// another program owns stays.
#include "remover/engine/file_type_cleanup.h"

#include <gtest/gtest.h>

#include "tests/support/file_fixture.h"
#include "tests/support/process_fixture.h"
#include "tests/support/product_fixture.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/registry_link.h"

namespace remover {
namespace {

using namespace testsupport;

const std::string kClasses = "Software\\Classes";
const std::string kMime = kClasses + "\\MIME\\Database\\Content Type";
constexpr char kControl[] = "{845945F8-6993-4B85-B563-DB0116DFC434}";

class FileTypeCleanup : public ::testing::Test {
protected:
    FileTypeCleanup() : cleanup_(PerUserFileTypePlaces()) {}
    ScopedRegistryCleanup cleanup_;

    // What the installer registers for the current user.
    static void SeedRegistration() {
        SetString(HKEY_CURRENT_USER, kClasses + "\\.wrl", nullptr, "Meridel.ClientCU");
        SetString(HKEY_CURRENT_USER, kClasses + "\\Meridel.ClientCU\\shell\\open\\command", nullptr, "x \"%1\"");
        for (const char* type : {"model/vrml", "x-world/x-vrml", "application/x-meridel"})
            SetString(HKEY_CURRENT_USER, kMime + "\\" + type, "CLSID", kControl);
    }
};

TEST_F(FileTypeCleanup, RemovesTheProductsRegistrationAndKeepsForeignOnes) {
    SetString(HKEY_CURRENT_USER, kClasses + "\\.wrl", nullptr, "Meridel.ClientCU");
    SetString(HKEY_CURRENT_USER, kClasses + "\\.wrl", "Content Type", "model/vrml");
    SetString(HKEY_CURRENT_USER, kClasses + "\\.vrml", nullptr, "meridel.client");  // older file type, any case
    SetString(HKEY_CURRENT_USER, kClasses + "\\.wrz", nullptr, "OtherViewer.Scene");
    SetString(HKEY_CURRENT_USER, kClasses + "\\Meridel.ClientCU\\shell\\open\\command", nullptr, "x \"%1\"");
    SetString(HKEY_CURRENT_USER, kClasses + "\\Meridel.ClientCU", nullptr, "VRML File");
    SetString(HKEY_CURRENT_USER, kClasses + "\\Meridel.Client\\DefaultIcon", nullptr, "x.dll,0");
    SetString(HKEY_CURRENT_USER, kMime + "\\model/vrml", "CLSID", kControl);
    SetString(HKEY_CURRENT_USER, kMime + "\\x-world/x-vrml", "CLSID", "{00000000-0000-0000-0000-000000000001}");
    SetString(HKEY_CURRENT_USER, kMime + "\\application/x-meridel", "CLSID",
              "{845945f8-6993-4b85-b563-db0116dfc434}");

    RemoveFileTypeRegistration();

    struct Expect {
        std::string key;
        bool present;
    };
    const Expect expectations[] = {
        {kClasses + "\\.wrl", false},
        {kClasses + "\\.vrml", false},
        {kClasses + "\\.wrz", true},
        {kClasses + "\\Meridel.ClientCU", false},
        {kClasses + "\\Meridel.Client", false},
        {kMime + "\\model/vrml", false},
        {kMime + "\\x-world/x-vrml", true},
        {kMime + "\\application/x-meridel", false},
        {kMime, true},
    };
    for (const auto& e : expectations) {
        SCOPED_TRACE(e.key);
        EXPECT_EQ(KeyExists(HKEY_CURRENT_USER, e.key), e.present);
    }
}

TEST_F(FileTypeCleanup, NothingRegisteredChangesNothing) {
    SetString(HKEY_CURRENT_USER, kClasses + "\\.wrz", nullptr, "OtherViewer.Scene");
    RemoveFileTypeRegistration();
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kClasses + "\\.wrz", nullptr), "OtherViewer.Scene");
}

// "/x" with the control's identifier keeps the control; while its module is
// there, the user's scenes go on opening in it. A kept control whose module is
// gone, or a kept other component, keeps nothing here.
TEST_F(FileTypeCleanup, AKeptControlKeepsTheUsersFileTypes) {
    ScopedRegistryCleanup classes(ProductRegistryPlaces());
    ScopedTempFolder folder("kept-control");
    const std::string module = folder.path() + "\\control.dll";
    CopyFileTo(FixturePath("plain_module.dll"), module);
    const std::string engine = ComponentClassIds()[1];
    struct Case {
        std::string options;
        std::string modulePath;
        bool kept;
    };
    const Case cases[] = {
        {std::string("/s /x") + kControl, module, true},
        {std::string("/s /x") + kControl, folder.path() + "\\missing.dll", false},
        {"/s /x" + engine, module, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options + " " + c.modulePath);
        SeedRegistration();
        RegisterClass(kControl, c.modulePath);
        EXPECT_EQ(RunRemover(c.options), 0u);
        for (const std::string& key : {kClasses + "\\.wrl", kClasses + "\\Meridel.ClientCU", kMime + "\\model/vrml",
                                       kMime + "\\x-world/x-vrml", kMime + "\\application/x-meridel"})
            EXPECT_EQ(KeyExists(HKEY_CURRENT_USER, key), c.kept) << key;
        if (c.kept) {
            EXPECT_TRUE(FileExists(module));
        }
    }
}

// A link among the product's keys sends the deletion to the link's target:
// the link goes, the target stays.
TEST_F(FileTypeCleanup, DeletesALinkedFileTypeAsALink) {
    const std::string target = "Software\\MeridelTest\\FileTypeTarget";
    ScopedRegistryCleanup targetCleanup({{HKEY_LOCAL_MACHINE, target}});
    SetString(HKEY_LOCAL_MACHINE, target + "\\shell\\open\\command", nullptr, "other.exe");
    DeleteTree(HKEY_CURRENT_USER, kClasses + "\\Meridel.ClientCU");
    MakeRegistryLink(HKEY_CURRENT_USER, kClasses + "\\Meridel.ClientCU", target);
    EXPECT_EQ(RunRemover("/s"), 0u);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, target + "\\shell\\open\\command", nullptr), "other.exe");
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kClasses + "\\Meridel.ClientCU"));
    RemoveRegistryLink(HKEY_CURRENT_USER, kClasses + "\\Meridel.ClientCU");
}

}  // namespace
}  // namespace remover
