// The "Render" tree below the product key: modules named by REG_SZ values
// whose name holds the lower-case "path" go, at every depth, and so does the
// whole tree; the rest of the product key stays.
#include <gtest/gtest.h>

#include <aclapi.h>

#include "platform/unique_resource.h"
#include "remover/engine/render_key.h"
#include "tests/support/file_fixture.h"
#include "tests/support/product_fixture.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/registry_link.h"

namespace remover {
namespace {

using namespace testsupport;

TEST(RemoveRenderKey, RemovesModulesNamedByPathValuesAndTheWholeTree) {
    ScopedRegistryCleanup cleanup(ProductRegistryPlaces());
    ScopedTempFolder folder("render key");
    const std::string render = std::string(kProductKey) + "\\Render";
    struct Row {
        std::string key;
        const char* valueName;
        DWORD type;
        const char* file;
        bool removed;
    };
    const Row rows[] = {
        // Value names ignore case in the registry, so "Path" needs a key of its own.
        {render, "path", REG_SZ, "render.dll", true},
        {render + "\\Upper", "Path", REG_SZ, "upper.dll", false},
        {render, "DllPath", REG_SZ, "dllpath.dll", false},
        {render, "modulepath", REG_EXPAND_SZ, "expand.dll", false},
        {render + "\\OpenGL", "texturepath", REG_SZ, "texture.dat", true},
        {render + "\\OpenGL", "Version", REG_SZ, "version.dll", false},
        {render + "\\OpenGL\\Shaders", "path", REG_SZ, "Deep Folder\\shaders.dll", true},
        {render + "\\OpenGL\\Shaders\\Upper", "Path", REG_SZ, "deep upper.dll", false},
        {render + "\\Direct3D", "path", REG_SZ, "d3d.dll", true},
    };
    for (const Row& row : rows) {
        ASSERT_TRUE(WriteFile(folder.path() + "\\" + row.file));
        SetString(HKEY_LOCAL_MACHINE, row.key, row.valueName, folder.path() + "\\" + row.file, row.type);
    }
    // Stored without its terminator: the path is taken at its data length.
    const std::string unterminated = folder.path() + "\\unterminated.dll";
    ASSERT_TRUE(WriteFile(unterminated));
    SetRaw(HKEY_LOCAL_MACHINE, render + "\\Direct3D", "altpath", REG_SZ, unterminated);
    SetString(HKEY_LOCAL_MACHINE, std::string(kProductKey) + "\\Help", "User's Guide", "C:\\guide.htm");

    RemovalContext context;
    RemoveRenderKey(context, kProductKey);

    for (const Row& row : rows) {
        SCOPED_TRACE(row.key + " " + row.valueName);
        EXPECT_EQ(FileExists(folder.path() + "\\" + row.file), !row.removed);
    }
    EXPECT_FALSE(FileExists(unterminated));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, render));
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, std::string(kProductKey) + "\\Help", "User's Guide"));
}

// A key the walk cannot read stays, with the module it names (an access list
// without DELETE stops nothing under Wine); every key above it stays too, and
// its siblings still go.
TEST(RemoveRenderKey, KeepsTheKeysAboveAKeyItCannotDelete) {
    ScopedRegistryCleanup cleanup(ProductRegistryPlaces());
    ScopedTempFolder folder("render lock");
    const std::string render = std::string(kProductKey) + "\\Render";
    for (const char* key : {"\\A", "\\Deep\\Locked", "\\Z"}) {
        ASSERT_TRUE(WriteFile(folder.path() + key + ".dll"));
        SetString(HKEY_LOCAL_MACHINE, render + key, "path", folder.path() + key + ".dll");
    }
    platform::UniqueKey locked;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, (render + "\\Deep\\Locked").c_str(), 0, WRITE_DAC, locked.put()),
              ERROR_SUCCESS);
    EXPLICIT_ACCESS_A access{};
    ::BuildExplicitAccessWithNameA(&access, const_cast<char*>("EVERYONE"), DELETE | WRITE_DAC, SET_ACCESS,
                                   NO_INHERITANCE);
    PACL acl = nullptr;
    ASSERT_EQ(::SetEntriesInAclA(1, &access, nullptr, &acl), ERROR_SUCCESS);
    const DWORD set = ::SetSecurityInfo(locked.get(), SE_REGISTRY_KEY,
                                        DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                                        nullptr, acl, nullptr);
    ::LocalFree(acl);
    ASSERT_EQ(set, ERROR_SUCCESS);

    RemovalContext context;
    RemoveRenderKey(context, kProductKey);

    EXPECT_FALSE(FileExists(folder.path() + "\\A.dll") || FileExists(folder.path() + "\\Z.dll"));
    EXPECT_TRUE(FileExists(folder.path() + "\\Deep\\Locked.dll"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, render + "\\Deep"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, render + "\\A") || KeyExists(HKEY_LOCAL_MACHINE, render + "\\Z"));
    // Let the clean-up through again.
    ::SetSecurityInfo(locked.get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr, nullptr);
}

// A link in the tree is deleted as a link: the key it points to, and the
// module that key names, stay.
TEST(RemoveRenderKey, DeletesALinkWithoutFollowingIt) {
    const std::string target = "Software\\MeridelTest\\RenderTarget";
    ScopedRegistryCleanup cleanup(ProductRegistryPlaces());
    ScopedRegistryCleanup targetCleanup({{HKEY_LOCAL_MACHINE, target}});
    ScopedTempFolder folder("render link");
    const std::string module = folder.path() + "\\other.dll";
    ASSERT_TRUE(WriteFile(module));
    SetString(HKEY_LOCAL_MACHINE, target, "path", module);
    const std::string link = std::string(kProductKey) + "\\Render\\Linked";
    MakeRegistryLink(HKEY_LOCAL_MACHINE, link, target);

    RemovalContext context;
    RemoveRenderKey(context, kProductKey);

    EXPECT_TRUE(FileExists(module));
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, target, "path"), module);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kProductKey) + "\\Render"));
    RemoveRegistryLink(HKEY_LOCAL_MACHINE, link);
}

}  // namespace
}  // namespace remover
