// The per-user file types the installer registered go with the product; what
// another program owns stays.
#include "remover/engine/file_type_cleanup.h"

#include <gtest/gtest.h>

#include "tests/support/product_fixture.h"
#include "tests/support/registry_fixture.h"

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

}  // namespace
}  // namespace remover
