#include "platform/registry_key.h"

#include <gtest/gtest.h>

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

TEST_F(RegistryKeyTest, DeleteKeyTreeRemovesEveryLevelAndKeepsTheParent) {
    SetString(HKEY_CURRENT_USER, kRoot + "\\tree\\one\\two\\three", "v", "x");
    SetString(HKEY_CURRENT_USER, kRoot + "\\tree\\one\\sibling", "v", "x");
    SetString(HKEY_CURRENT_USER, kRoot + "\\tree\\other", nullptr, "x");
    SetString(HKEY_CURRENT_USER, kRoot + "\\neighbour", nullptr, "x");
    RegistryKey key;
    ASSERT_EQ(key.CreateKey(HKEY_CURRENT_USER, kRootW.c_str()), ERROR_SUCCESS);
    EXPECT_EQ(key.DeleteKeyTree(L"tree"), ERROR_SUCCESS);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kRoot + "\\tree"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kRoot + "\\neighbour"));
    EXPECT_EQ(key.DeleteKeyTree(L"tree"), ERROR_FILE_NOT_FOUND);
    // An empty name must not be taken for the held key itself.
    EXPECT_EQ(key.DeleteKeyTree(L""), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(key.DeleteKeyTree(nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(SubkeyNames(HKEY_CURRENT_USER, kRoot), std::vector<std::string>{"neighbour"});
}

}  // namespace
