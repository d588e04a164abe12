// The key-tree deletion in the remover's 8-bit form, against the real registry.
#include <gtest/gtest.h>

#include <aclapi.h>

#include "platform/registry_key.h"
#include "tests/support/registry_fixture.h"

namespace remover {
namespace {

using namespace testsupport;

constexpr char kRoot[] = "Software\\MeridelTest\\KeyTree";

// The seeded root, opened the way the remover opens keys it deletes under.
platform::RegistryKeyA OpenRoot(LONG& status) {
    platform::RegistryKeyA key;
    status = key.Open(HKEY_CURRENT_USER, kRoot, platform::kReadWriteAccess);
    return key;
}

TEST(DeleteKeyTree, DeletesAThreeLevelTreeWithItsValues) {
    ScopedRegistryCleanup cleanup({{HKEY_CURRENT_USER, kRoot}});
    const std::string tree = std::string(kRoot) + "\\Tree";
    SetString(HKEY_CURRENT_USER, tree, "v", "1");
    SetString(HKEY_CURRENT_USER, tree + "\\A\\A1\\A11", "v", "1");
    SetString(HKEY_CURRENT_USER, tree + "\\A\\A2", nullptr, "1");
    SetString(HKEY_CURRENT_USER, tree + "\\B", "v", "1");
    SetString(HKEY_CURRENT_USER, std::string(kRoot) + "\\Sibling", "v", "1");

    LONG opened = ERROR_INVALID_FUNCTION;
    const auto root = OpenRoot(opened);
    ASSERT_EQ(opened, ERROR_SUCCESS);
    EXPECT_EQ(root.DeleteKeyTree("Tree"), ERROR_SUCCESS);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, tree));
    EXPECT_EQ(SubkeyNames(HKEY_CURRENT_USER, kRoot), std::vector<std::string>{"Sibling"});
}

TEST(DeleteKeyTree, MissingKeyReportsNotFoundAndChangesNothing) {
    ScopedRegistryCleanup cleanup({{HKEY_CURRENT_USER, kRoot}});
    SetString(HKEY_CURRENT_USER, std::string(kRoot) + "\\Sibling", "v", "1");
    LONG opened = ERROR_INVALID_FUNCTION;
    const auto root = OpenRoot(opened);
    ASSERT_EQ(opened, ERROR_SUCCESS);
    EXPECT_EQ(root.DeleteKeyTree("Missing"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(platform::RegistryKeyA().DeleteKeyTree("Missing"), ERROR_INVALID_HANDLE);
    // An empty name must not be taken for the parent itself.
    EXPECT_EQ(root.DeleteKeyTree(""), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(root.DeleteKeyTree(nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(SubkeyNames(HKEY_CURRENT_USER, kRoot), std::vector<std::string>{"Sibling"});
}

// A subkey whose security forbids deletion stops the walk: the keys deleted
// before it stay deleted, it and everything above it stay.
TEST(DeleteKeyTree, StopsAtTheFirstSubkeyThatCannotBeDeleted) {
    ScopedRegistryCleanup cleanup({{HKEY_CURRENT_USER, kRoot}});
    const std::string tree = std::string(kRoot) + "\\Tree";
    SetString(HKEY_CURRENT_USER, tree + "\\A", "v", "1");
    SetString(HKEY_CURRENT_USER, tree + "\\B\\Locked", "v", "1");
    {
        platform::UniqueKey locked;
        ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, (tree + "\\B\\Locked").c_str(), 0, WRITE_DAC, locked.put()),
                  ERROR_SUCCESS);
        // An empty DACL grants nothing to anyone.
        ACL empty;
        ASSERT_TRUE(::InitializeAcl(&empty, sizeof(empty), ACL_REVISION));
        ASSERT_EQ(::SetSecurityInfo(locked.get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                    &empty, nullptr),
                  ERROR_SUCCESS);
    }
    platform::RegistryKeyA probe;
    if (probe.Open(HKEY_CURRENT_USER, (tree + "\\B\\Locked").c_str(), platform::kReadWriteAccess) == ERROR_SUCCESS)
        GTEST_SKIP() << "this registry does not enforce key security";

    LONG opened = ERROR_INVALID_FUNCTION;
    const auto root = OpenRoot(opened);
    ASSERT_EQ(opened, ERROR_SUCCESS);
    EXPECT_EQ(root.DeleteKeyTree("Tree"), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, tree + "\\A"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, tree + "\\B"));

    // Let the clean-up through again.
    platform::UniqueKey locked;
    ::RegOpenKeyExA(HKEY_CURRENT_USER, (tree + "\\B\\Locked").c_str(), 0, WRITE_DAC, locked.put());
    ::SetSecurityInfo(locked.get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr, nullptr);
}

}  // namespace
}  // namespace remover
