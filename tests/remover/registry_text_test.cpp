// The remover's reading of registry texts: 260-byte buffer, 8-bit texts.
#include <gtest/gtest.h>

#include "platform/registry_key.h"
#include "tests/support/registry_fixture.h"

namespace remover {
namespace {

using namespace testsupport;
using platform::TextRule;

constexpr char kKey[] = "Software\\MeridelTest\\RegistryText";

struct Case {
    const char* what;
    DWORD type;
    std::string bytes;
    TextRule rule;
    LONG status;  // ERROR_SUCCESS: found
    std::string text;
};

TEST(RegistryKeyReadText, NeverReadsPastTheReturnedDataAndHonoursTheBuffer) {
    ScopedRegistryCleanup cleanup({{HKEY_CURRENT_USER, kKey}});
    const std::string s259(259, 'p');
    const Case cases[] = {
        {"terminated string", REG_SZ, std::string("C:\\a.dll\0", 9), TextRule::AnyType, ERROR_SUCCESS, "C:\\a.dll"},
        {"binary text without terminator", REG_BINARY, "C:\\b.dll", TextRule::AnyType, ERROR_SUCCESS, "C:\\b.dll"},
        {"259 bytes without terminator", REG_BINARY, s259, TextRule::AnyType, ERROR_SUCCESS, s259},
        {"260 bytes without terminator", REG_BINARY, std::string(260, 'q'), TextRule::AnyType, ERROR_MORE_DATA, ""},
        {"259 characters and terminator", REG_SZ, s259 + '\0', TextRule::AnyType, ERROR_SUCCESS, s259},
        {"260 characters and terminator", REG_SZ, std::string(260, 'r') + '\0', TextRule::AnyType, ERROR_MORE_DATA, ""},
        {"text stops at the first zero", REG_BINARY, std::string("ab\0cd", 5), TextRule::AnyType, ERROR_SUCCESS, "ab"},
        {"empty value", REG_BINARY, "", TextRule::AnyType, ERROR_SUCCESS, ""},
        {"DWORD read as text", REG_DWORD, std::string("\x41\x42\0\0", 4), TextRule::AnyType, ERROR_SUCCESS, "AB"},
        {"expandable string kept as stored", REG_EXPAND_SZ, std::string("%TEMP%\\x.dll\0", 13),
         TextRule::TerminatedString, ERROR_SUCCESS, "%TEMP%\\x.dll"},
        {"empty string", REG_SZ, std::string("\0", 1), TextRule::TerminatedString, ERROR_SUCCESS, ""},
        {"DWORD is not a server path", REG_DWORD, std::string("\x41\x42\0\0", 4), TextRule::TerminatedString,
         ERROR_INVALID_DATA, ""},
        {"binary is not a server path", REG_BINARY, std::string("C:\\c.dll\0", 9), TextRule::TerminatedString,
         ERROR_INVALID_DATA, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetRaw(HKEY_CURRENT_USER, kKey, "v", c.type, c.bytes);
        platform::RegistryKeyA key;
        ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kKey, KEY_READ), ERROR_SUCCESS);
        std::string text = "untouched";
        EXPECT_EQ(key.ReadText("v", text, c.rule), c.status);
        EXPECT_EQ(text, c.status == ERROR_SUCCESS ? c.text : "untouched");
    }
}

TEST(RegistryKeyReadText, MissingValueIsNotFound) {
    ScopedRegistryCleanup cleanup({{HKEY_CURRENT_USER, kKey}});
    CreateKey(HKEY_CURRENT_USER, kKey);
    platform::RegistryKeyA key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kKey, KEY_READ), ERROR_SUCCESS);
    std::string text;
    EXPECT_EQ(key.ReadText("missing", text), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key.ReadText(nullptr, text), ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace remover
