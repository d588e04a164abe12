// The registry key owner of both widths against the real registry: creating
// and opening without links, reading, writing, listing and deleting.
#include "platform/registry_key.h"

#include <gtest/gtest.h>

#include <aclapi.h>

#include <algorithm>
#include <string>

#include "tests/support/registry_fixture.h"
#include "tests/support/registry_link.h"

using platform::RegistryKey;

namespace {

using namespace testsupport;

const std::string kRoot = "Software\\MeridelTest\\RegistryKey";
const std::wstring kRootW = L"Software\\MeridelTest\\RegistryKey";

class RegistryKeyTest : public ::testing::Test {
protected:
    ScopedRegistryCleanup cleanup_{{{HKEY_CURRENT_USER, kRoot}}};

    // The seeded root, opened the way the remover opens keys it deletes under.
    static platform::RegistryKeyA OpenRootA() {
        platform::RegistryKeyA key;
        EXPECT_EQ(key.Open(HKEY_CURRENT_USER, kRoot.c_str(), platform::kReadWriteAccess), ERROR_SUCCESS);
        return key;
    }
};

TEST_F(RegistryKeyTest, CreateKeyMakesThePathAndKeepsExistingValues) {
    SetString(HKEY_CURRENT_USER, kRoot + "\\a", "kept", "yes");
    RegistryKey key;
    ASSERT_EQ(key.CreateKey(HKEY_CURRENT_USER, (kRootW + L"\\a\\b\\c").c_str()), ERROR_SUCCESS);
    EXPECT_TRUE(key.valid());
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kRoot + "\\a\\b\\c"));
    RegistryKey again;
    ASSERT_EQ(again.CreateKey(HKEY_CURRENT_USER, (kRootW + L"\\a").c_str()), ERROR_SUCCESS);
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kRoot + "\\a", "kept"), "yes");
}

// A link that another process of the user made in its own hive would lead the
// writes into the key of its choosing: no key on the way may be a link.
TEST_F(RegistryKeyTest, CreateKeyRefusesALinkOnTheWay) {
    const std::string target = "Software\\MeridelTest\\LinkTarget";
    ScopedRegistryCleanup machine({{HKEY_LOCAL_MACHINE, target}});
    SetString(HKEY_LOCAL_MACHINE, target, "v", "kept");
    MakeRegistryLink(HKEY_CURRENT_USER, kRoot + "\\MIME", target);
    for (const std::wstring& path : {kRootW + L"\\MIME", kRootW + L"\\MIME\\Database\\Content Type"}) {
        RegistryKey key;
        EXPECT_EQ(key.CreateKey(HKEY_CURRENT_USER, path.c_str()), ERROR_ACCESS_DENIED);
        EXPECT_FALSE(key.valid());
    }
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, target + "\\Database"));
    RemoveRegistryLink(HKEY_CURRENT_USER, kRoot + "\\MIME");
}

TEST_F(RegistryKeyTest, FailedCreateOrOpenKeepsTheHeldKey) {
    RegistryKey key;
    ASSERT_EQ(key.CreateKey(HKEY_CURRENT_USER, kRootW.c_str()), ERROR_SUCCESS);
    const HKEY held = key.get();
    EXPECT_EQ(key.CreateKey(reinterpret_cast<HKEY>(0x1234), L"x"), ERROR_INVALID_HANDLE);
    EXPECT_EQ(key.Open(HKEY_CURRENT_USER, (kRootW + L"\\missing").c_str(), KEY_READ), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key.get(), held);
    EXPECT_EQ(key.WriteStringValue(L"still", L"open"), ERROR_SUCCESS);
}

TEST_F(RegistryKeyTest, WriteStringValueStoresTerminatedRegSz) {
    RegistryKey key;
    ASSERT_EQ(key.CreateKey(HKEY_CURRENT_USER, kRootW.c_str()), ERROR_SUCCESS);
    ASSERT_EQ(key.WriteStringValue(nullptr, L"abc"), ERROR_SUCCESS);
    DWORD type = 0;
    DWORD bytes = 0;
    ASSERT_EQ(::RegQueryValueExW(key.get(), nullptr, nullptr, &type, nullptr, &bytes), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(bytes, 8u);
}

TEST_F(RegistryKeyTest, WriteStringValueWithoutTextStopsTheProcess) {
    RegistryKey key;
    ASSERT_EQ(key.CreateKey(HKEY_CURRENT_USER, kRootW.c_str()), ERROR_SUCCESS);
    EXPECT_DEATH(key.WriteStringValue(L"x", nullptr), "");
}

struct ReadRow {
    const char* name;
    DWORD type;
    std::string bytes;  // raw, as stored
    DWORD capacity;
    LONG status;
    std::wstring text;
    DWORD count;
    size_t hiddenTail = 0;  // bytes after the stored size, so no NUL follows it
};

std::string Utf16(const std::wstring& text, bool terminated) {
    std::string bytes;
    for (wchar_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>((c >> 8) & 0xFF);
    }
    if (terminated) bytes += std::string(2, '\0');
    return bytes;
}

TEST_F(RegistryKeyTest, ReadStringValueFollowsTypeSizeAndTerminatorRules) {
    const ReadRow rows[] = {
        {"sz", REG_SZ, Utf16(L"abc", true), 260, ERROR_SUCCESS, L"abc", 4},
        {"expand kept unexpanded", REG_EXPAND_SZ, Utf16(L"%SystemRoot%\\x", true), 260, ERROR_SUCCESS,
         L"%SystemRoot%\\x", 15},
        {"one terminator", REG_SZ, Utf16(L"", true), 260, ERROR_SUCCESS, L"", 1},
        {"zero bytes", REG_SZ, "", 260, ERROR_SUCCESS, L"", 0},
        {"dword", REG_DWORD, std::string("\1\0\0\0", 4), 260, ERROR_INVALID_DATA, L"", 0},
        {"multi sz", REG_MULTI_SZ, Utf16(L"a", true) + std::string(2, '\0'), 260, ERROR_INVALID_DATA, L"", 0},
        // The registry itself counts a terminator that directly follows the data.
        {"no terminator", REG_SZ, Utf16(L"abcX", false), 260, ERROR_INVALID_DATA, L"", 0, 2},
        {"odd size", REG_SZ, Utf16(L"abc", true) + "x", 260, ERROR_INVALID_DATA, L"", 0},
        {"exact fit", REG_SZ, Utf16(L"abc", true), 4, ERROR_SUCCESS, L"abc", 4},
        {"too large", REG_SZ, Utf16(L"abcd", true), 4, ERROR_MORE_DATA, L"", 0},
    };
    for (const ReadRow& row : rows) {
        SCOPED_TRACE(row.name);
        const std::wstring valueName(row.name, row.name + std::char_traits<char>::length(row.name));
        RegistryKey key;
        ASSERT_EQ(key.CreateKey(HKEY_CURRENT_USER, kRootW.c_str()), ERROR_SUCCESS);
        // The wide call stores the bytes as given (the ANSI one would convert them).
        ASSERT_EQ(::RegSetValueExW(key.get(), valueName.c_str(), 0, row.type,
                                   reinterpret_cast<const BYTE*>(row.bytes.data()),
                                   static_cast<DWORD>(row.bytes.size() - row.hiddenTail)),
                  ERROR_SUCCESS);
        wchar_t buffer[260];
        wmemset(buffer, L'#', 260);
        DWORD count = row.capacity;
        EXPECT_EQ(key.ReadStringValue(valueName.c_str(), buffer, count), row.status);
        EXPECT_EQ(count, row.count);
        if (row.status == ERROR_SUCCESS) {
            EXPECT_EQ(std::wstring(buffer), row.text);
        }
        // Nothing is ever written beyond the capacity.
        for (DWORD i = row.capacity; i < 260; ++i) ASSERT_EQ(buffer[i], L'#') << i;
    }
    RegistryKey key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kRootW.c_str(), KEY_READ), ERROR_SUCCESS);
    wchar_t buffer[8];
    DWORD count = 8;
    EXPECT_EQ(key.ReadStringValue(L"missing", buffer, count), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(count, 0u);
}

template <class Char>
class RegistryKeyWidths : public RegistryKeyTest {
protected:
    using String = std::basic_string<Char>;
    static String T(const std::string& ascii) { return String(ascii.begin(), ascii.end()); }
    static platform::BasicRegistryKey<Char> OpenRoot() {
        platform::BasicRegistryKey<Char> key;
        EXPECT_EQ(key.Open(HKEY_CURRENT_USER, T(kRoot).c_str(), platform::kReadWriteAccess), ERROR_SUCCESS);
        return key;
    }
};
using Widths = ::testing::Types<char, wchar_t>;
TYPED_TEST_SUITE(RegistryKeyWidths, Widths);

TYPED_TEST(RegistryKeyWidths, DeleteKeyTreeRemovesEveryLevelAndKeepsTheParent) {
    SetString(HKEY_CURRENT_USER, kRoot + "\\tree", "v", "1");
    SetString(HKEY_CURRENT_USER, kRoot + "\\tree\\one\\two\\three", "v", "x");
    SetString(HKEY_CURRENT_USER, kRoot + "\\tree\\one\\sibling", nullptr, "x");
    SetString(HKEY_CURRENT_USER, kRoot + "\\tree\\other", "v", "x");
    SetString(HKEY_CURRENT_USER, kRoot + "\\neighbour", nullptr, "x");
    const auto root = this->OpenRoot();
    EXPECT_EQ(root.DeleteKeyTree(this->T("tree").c_str()), ERROR_SUCCESS);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kRoot + "\\tree"));
    EXPECT_EQ(root.DeleteKeyTree(this->T("tree").c_str()), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(platform::BasicRegistryKey<TypeParam>().DeleteKeyTree(this->T("tree").c_str()), ERROR_INVALID_HANDLE);
    // An empty name must not be taken for the held key itself.
    EXPECT_EQ(root.DeleteKeyTree(this->T("").c_str()), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(root.DeleteKeyTree(nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(SubkeyNames(HKEY_CURRENT_USER, kRoot), std::vector<std::string>{"neighbour"});
}

// The lists are taken whole before the caller acts, so deleting while walking
// them misses nothing; a value name too long for the buffer is passed over
// and the names after it are still listed.
TYPED_TEST(RegistryKeyWidths, ListsSubkeysAndValuesAndDeletesValues) {
    const std::string tooLong(300, 'm');
    for (const char* name : {"a", tooLong.c_str(), "z"}) SetString(HKEY_CURRENT_USER, kRoot, name, "x");
    SetDword(HKEY_CURRENT_USER, kRoot, "n", 1);
    for (const char* subkey : {"\\k1", "\\k2", "\\k3"}) SetString(HKEY_CURRENT_USER, kRoot + subkey, "v", "x");
    const auto root = this->OpenRoot();
    using Text = std::basic_string<TypeParam>;
    std::vector<Text> subkeys = root.SubkeyNames();
    std::sort(subkeys.begin(), subkeys.end());
    EXPECT_EQ(subkeys, (std::vector<Text>{this->T("k1"), this->T("k2"), this->T("k3")}));
    for (const Text& subkey : subkeys) EXPECT_EQ(root.DeleteKeyTree(subkey.c_str()), ERROR_SUCCESS);
    std::vector<std::pair<Text, DWORD>> values;
    for (const auto& value : root.Values()) values.emplace_back(value.name, value.type);
    std::sort(values.begin(), values.end());
    EXPECT_EQ(values, (std::vector<std::pair<Text, DWORD>>{{this->T("a"), REG_SZ}, {this->T("n"), REG_DWORD},
                                                            {this->T("z"), REG_SZ}}));
    for (const auto& value : values) EXPECT_EQ(root.DeleteValue(value.first.c_str()), ERROR_SUCCESS);
    EXPECT_EQ(root.DeleteValue(this->T("a").c_str()), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, kRoot), std::vector<std::string>{tooLong});
    EXPECT_TRUE(SubkeyNames(HKEY_CURRENT_USER, kRoot).empty());
    EXPECT_TRUE(platform::BasicRegistryKey<TypeParam>().SubkeyNames().empty());
    EXPECT_TRUE(platform::BasicRegistryKey<TypeParam>().Values().empty());
}

// A subkey whose security forbids deletion stops the walk: the keys deleted
// before it stay deleted, it and everything above it stay.
TEST_F(RegistryKeyTest, DeleteKeyTreeStopsAtTheFirstSubkeyThatCannotBeDeleted) {
    const std::string tree = kRoot + "\\Tree";
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

    const auto root = OpenRootA();
    EXPECT_EQ(root.DeleteKeyTree("Tree"), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, tree + "\\A"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, tree + "\\B"));

    // Let the clean-up through again.
    platform::UniqueKey locked;
    ::RegOpenKeyExA(HKEY_CURRENT_USER, (tree + "\\B\\Locked").c_str(), 0, WRITE_DAC, locked.put());
    ::SetSecurityInfo(locked.get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr, nullptr);
}

// A registry link, as the tree itself or anywhere below it, is deleted as a
// link: the key it points to keeps its values and subkeys.
TEST_F(RegistryKeyTest, DeleteKeyTreeDeletesLinksAsLinks) {
    const std::string target = "Software\\MeridelTest\\LinkTarget";
    const std::string tree = kRoot + "\\Tree";
    ScopedRegistryCleanup machine({{HKEY_LOCAL_MACHINE, target}});
    for (const std::string& link : {tree, tree + "\\A\\Linked"}) {
        SCOPED_TRACE(link);
        SetString(HKEY_LOCAL_MACHINE, target + "\\Sub", "v", "kept");
        SetString(HKEY_CURRENT_USER, tree + "\\A", "v", "1");
        RemoveRegistryLink(HKEY_CURRENT_USER, link);
        if (link == tree) DeleteTree(HKEY_CURRENT_USER, tree);
        MakeRegistryLink(HKEY_CURRENT_USER, link, target);
        ASSERT_TRUE(KeyExists(HKEY_CURRENT_USER, link + "\\Sub"));
        const auto root = OpenRootA();
        EXPECT_EQ(root.DeleteKeyTree("Tree"), ERROR_SUCCESS);
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, tree));
        EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, target + "\\Sub", "v"), "kept");
        RemoveRegistryLink(HKEY_CURRENT_USER, link);
    }
}

}  // namespace
