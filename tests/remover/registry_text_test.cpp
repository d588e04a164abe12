#include "remover/engine/registry_text.h"

#include <gtest/gtest.h>

#include "platform/unique_resource.h"
#include "tests/support/registry_fixture.h"

namespace remover {
namespace {

using namespace testsupport;

constexpr char kKey[] = "Software\\MeridelTest\\RegistryText";

struct Case {
    const char* what;
    DWORD type;
    std::string bytes;
    TextRule rule;
    bool found;
    std::string text;
};

TEST(ReadRegistryText, NeverReadsPastTheReturnedDataAndHonoursTheBuffer) {
    ScopedRegistryCleanup cleanup({{HKEY_CURRENT_USER, kKey}});
    const std::string s259(259, 'p');
    const Case cases[] = {
        {"terminated string", REG_SZ, std::string("C:\\a.dll\0", 9), TextRule::AnyType, true, "C:\\a.dll"},
        {"binary text without terminator", REG_BINARY, "C:\\b.dll", TextRule::AnyType, true, "C:\\b.dll"},
        {"259 bytes without terminator", REG_BINARY, s259, TextRule::AnyType, true, s259},
        {"260 bytes without terminator", REG_BINARY, std::string(260, 'q'), TextRule::AnyType, false, ""},
        {"259 characters and terminator", REG_SZ, s259 + '\0', TextRule::AnyType, true, s259},
        {"260 characters and terminator", REG_SZ, std::string(260, 'r') + '\0', TextRule::AnyType, false, ""},
        {"text stops at the first zero", REG_BINARY, std::string("ab\0cd", 5), TextRule::AnyType, true, "ab"},
        {"empty value", REG_BINARY, "", TextRule::AnyType, true, ""},
        {"DWORD read as text", REG_DWORD, std::string("\x41\x42\0\0", 4), TextRule::AnyType, true, "AB"},
        {"expandable string kept as stored", REG_EXPAND_SZ, std::string("%TEMP%\\x.dll\0", 13),
         TextRule::TerminatedString, true, "%TEMP%\\x.dll"},
        {"empty string", REG_SZ, std::string("\0", 1), TextRule::TerminatedString, true, ""},
        {"DWORD is not a server path", REG_DWORD, std::string("\x41\x42\0\0", 4), TextRule::TerminatedString, false,
         ""},
        {"binary is not a server path", REG_BINARY, std::string("C:\\c.dll\0", 9), TextRule::TerminatedString, false,
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetRaw(HKEY_CURRENT_USER, kKey, "v", c.type, c.bytes);
        platform::UniqueKey key;
        ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, key.put()), ERROR_SUCCESS);
        std::string text = "untouched";
        EXPECT_EQ(ReadRegistryText(key.get(), "v", text, c.rule), c.found);
        EXPECT_EQ(text, c.found ? c.text : "untouched");
    }
}

TEST(ReadRegistryText, MissingValueIsNotFound) {
    ScopedRegistryCleanup cleanup({{HKEY_CURRENT_USER, kKey}});
    CreateKey(HKEY_CURRENT_USER, kKey);
    platform::UniqueKey key;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, key.put()), ERROR_SUCCESS);
    std::string text;
    EXPECT_FALSE(ReadRegistryText(key.get(), "missing", text));
    EXPECT_FALSE(ReadRegistryText(key.get(), nullptr, text));
}

}  // namespace
}  // namespace remover
