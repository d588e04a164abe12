// RegisterFileExtension through a real installer session: the per-user file
// type, extension and content-type keys, read back exactly.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/custom_actions/registry_dump.h"
#include "tests/custom_actions/session_fixture.h"
#include "tests/support/product_fixture.h"
#include "tests/support/registry_fixture.h"

namespace {

using namespace testsupport;

const std::wstring kClasses = L"Software\\Classes";
const std::wstring kContentTypes = L"MIME\\Database\\Content Type";
const std::wstring kEngineServer =
    L"Software\\Classes\\CLSID\\{54D58948-E105-494F-BF70-DF4632A91FA0}\\InprocServer32";
const std::wstring kControl = L"{845945F8-6993-4B85-B563-DB0116DFC434}";
const std::wstring kDde = L"\"file://%1\",,-1,,,,,";
const std::wstring kEnginePath = L"C:\\Program Files\\Meridel\\engine.dll";
const std::wstring kCommand = L"\"C:\\Program Files\\Browser\\browser.exe\" \"%1\"";

// Every key the registration owns, relative to the per-user classes key.
const std::vector<std::wstring> kOwnedKeys = {
    L".wrl", L".vrml", L".wrz",
    kContentTypes + L"\\model/vrml", kContentTypes + L"\\x-world/x-vrml", kContentTypes + L"\\application/x-meridel",
    L"Meridel.ClientCU", L"Meridel.Client",
};

// The owned keys' content, each key prefixed with its owned key's path.
RegistryDump DumpOwnedKeys() {
    RegistryDump all;
    for (const std::wstring& owned : kOwnedKeys) {
        for (const auto& [path, values] : DumpTree(HKEY_CURRENT_USER, kClasses + L"\\" + owned))
            all[path.empty() ? owned : owned + L"\\" + path] = values;
    }
    return all;
}

RegistryDump ExpectedRegistration(const std::wstring& command, bool withDde, bool withIcon) {
    RegistryDump expected;
    for (const wchar_t* extension : {L".wrl", L".vrml", L".wrz"})
        expected[extension] = {{L"", L"Meridel.ClientCU"}, {L"Content Type", L"model/vrml"}};
    expected[kContentTypes + L"\\model/vrml"] = {{L"CLSID", kControl}, {L"Extension", L".wrl"}};
    expected[kContentTypes + L"\\x-world/x-vrml"] = {{L"CLSID", kControl}, {L"Extension", L".wrl"}};
    expected[kContentTypes + L"\\application/x-meridel"] = {{L"CLSID", kControl}};
    expected[L"Meridel.ClientCU"] = {{L"", L"VRML File"}};
    expected[L"Meridel.ClientCU\\shell"] = {};
    expected[L"Meridel.ClientCU\\shell\\open"] = {};
    expected[L"Meridel.ClientCU\\shell\\open\\command"] = {{L"", command}};
    if (withDde) {
        expected[L"Meridel.ClientCU\\shell\\open\\ddeexec"] = {{L"", kDde}};
        expected[L"Meridel.ClientCU\\shell\\open\\ddeexec\\Application"] = {{L"", L"IExplore"}};
        expected[L"Meridel.ClientCU\\shell\\open\\ddeexec\\Topic"] = {{L"", L"WWW_OpenURL"}};
    }
    if (withIcon) expected[L"Meridel.ClientCU\\DefaultIcon"] = {{L"", kEnginePath + L",0"}};
    return expected;
}

size_t CountValues(const RegistryDump& dump) {
    size_t count = 0;
    for (const auto& entry : dump) count += entry.second.size();
    return count;
}

class FileTypeRegistrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(session_.valid());
        SetStringW(HKEY_LOCAL_MACHINE, kEngineServer, nullptr, kEnginePath);
    }

    void Register(const std::wstring& customActionData) {
        session_.SetProperty(L"CustomActionData", customActionData);
        EXPECT_EQ(session_.CallAction(L"RegisterFileExtension"), 0u);
    }

    static std::vector<std::pair<HKEY, std::string>> Places() {
        auto places = PerUserFileTypePlaces();
        places.emplace_back(HKEY_LOCAL_MACHINE, "Software\\Classes\\CLSID\\{54D58948-E105-494F-BF70-DF4632A91FA0}");
        return places;
    }
    ScopedRegistryCleanup cleanup_{Places()};
    SessionFixture session_;
};

TEST_F(FileTypeRegistrationTest, RegistersTheWholeTableWithAndWithoutDde) {
    Register(L"1:1:" + kCommand);
    const RegistryDump withDde = DumpOwnedKeys();
    EXPECT_EQ(withDde, ExpectedRegistration(kCommand, true, true));
    EXPECT_EQ(CountValues(withDde), 17u);

    // Written in table order: each leaf key is no older than the one before.
    const std::vector<std::wstring> leaves = {
        L".wrl", L".vrml", L".wrz", kContentTypes + L"\\model/vrml", kContentTypes + L"\\x-world/x-vrml",
        kContentTypes + L"\\application/x-meridel", L"Meridel.ClientCU\\shell\\open\\command",
        L"Meridel.ClientCU\\shell\\open\\ddeexec\\Application", L"Meridel.ClientCU\\shell\\open\\ddeexec\\Topic",
        L"Meridel.ClientCU\\DefaultIcon"};
    for (size_t i = 1; i < leaves.size(); ++i) {
        SCOPED_TRACE(leaves[i]);
        EXPECT_LE(KeyWriteTime(HKEY_CURRENT_USER, kClasses + L"\\" + leaves[i - 1]),
                  KeyWriteTime(HKEY_CURRENT_USER, kClasses + L"\\" + leaves[i]));
    }

    // Registering again without DDE leaves no verb of the first registration.
    Register(L"1:0:" + kCommand);
    const RegistryDump withoutDde = DumpOwnedKeys();
    EXPECT_EQ(withoutDde, ExpectedRegistration(kCommand, false, true));
    // The DDE verb is three of the rows: "ddeexec", "Application" and "Topic".
    EXPECT_EQ(CountValues(withoutDde), 14u);
}

TEST_F(FileTypeRegistrationTest, RegistrationReplacesEverythingThatWasThere) {
    SetStringW(HKEY_CURRENT_USER, kClasses + L"\\.wrl", L"PerceivedType", L"text");
    SetStringW(HKEY_CURRENT_USER, kClasses + L"\\.wrl\\OpenWithProgids", L"Other.File", L"");
    SetStringW(HKEY_CURRENT_USER, kClasses + L"\\" + kContentTypes + L"\\model/vrml", L"Stale", L"x");
    SetStringW(HKEY_CURRENT_USER, kClasses + L"\\Meridel.Client\\shell\\open\\command", nullptr, L"old.exe");
    SetStringW(HKEY_CURRENT_USER, kClasses + L"\\Meridel.ClientCU\\shell\\print\\command", nullptr, L"old.exe");
    Register(L"1:1:" + kCommand);
    EXPECT_EQ(DumpOwnedKeys(), ExpectedRegistration(kCommand, true, true));
}

TEST_F(FileTypeRegistrationTest, EmptyCommandIsWrittenAsItComes) {
    Register(L"1:1:");
    EXPECT_EQ(DumpOwnedKeys(), ExpectedRegistration(L"", true, true));
}

TEST_F(FileTypeRegistrationTest, RemovalFlagsRemoveEverythingAndKeepTheParents) {
    for (const wchar_t* value : {L"0:0:", L"0:1:", L"2:1:x", L"0:0:" L"C:\\browser.exe"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(value)));
        Register(L"1:1:" + kCommand);
        SetStringW(HKEY_CURRENT_USER, kClasses + L"\\Meridel.Client", nullptr, L"older");
        Register(value);
        EXPECT_EQ(DumpOwnedKeys(), RegistryDump());
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\Classes\\MIME\\Database\\Content Type"));
    }
}

TEST_F(FileTypeRegistrationTest, MalformedOrUnreadableValuesChangeNothing) {
    Register(L"1:0:" + kCommand);
    const RegistryDump before = DumpOwnedKeys();
    ASSERT_EQ(before, ExpectedRegistration(kCommand, false, true));
    // 520 characters do not fit the 520-character buffer with its terminator.
    const std::wstring overLong = L"0:0:" + std::wstring(516, L'x');
    for (const std::wstring& value : {std::wstring(L"1;1:x"), std::wstring(L"1:1;x"), std::wstring(L"1:1"),
                                      std::wstring(L""), std::wstring(L"0:0"), overLong}) {
        SCOPED_TRACE(testing::PrintToString(value.substr(0, 20)));
        Register(value);
        EXPECT_EQ(DumpOwnedKeys(), before);
    }
    // A session that cannot be read at all.
    EXPECT_EQ(SessionFixture::CallActionWithHandle(L"RegisterFileExtension", 0), 0u);
    EXPECT_EQ(DumpOwnedKeys(), before);
}

TEST_F(FileTypeRegistrationTest, LongestValueThatFitsIsUsedWhole) {
    const std::wstring command = std::wstring(515, L'c');  // 519 characters in all
    Register(L"1:0:" + command);
    EXPECT_EQ(DumpOwnedKeys(), ExpectedRegistration(command, false, true));
}

TEST_F(FileTypeRegistrationTest, IconFollowsTheEngineRegistration) {
    struct Row {
        const char* name;
        bool registered;
        DWORD type;
        std::wstring path;
        std::wstring icon;  // empty: no "DefaultIcon" key
    };
    const std::wstring longest = L"C:\\" + std::wstring(254, L'e');  // 257 + ",0" + terminator = 260
    const Row rows[] = {
        {"plain path", true, REG_SZ, kEnginePath, kEnginePath + L",0"},
        {"kept unexpanded", true, REG_EXPAND_SZ, L"%ProgramFiles%\\Meridel\\engine.dll",
         L"%ProgramFiles%\\Meridel\\engine.dll,0"},
        {"longest that fits", true, REG_SZ, longest, longest + L",0"},
        {"one too long", true, REG_SZ, longest + L"e", L""},
        {"path fills the buffer", true, REG_SZ, longest + L"ee", L""},
        {"too long to read", true, REG_SZ, longest + L"eee", L""},
        {"not registered", false, REG_SZ, L"", L""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DeleteTree(HKEY_LOCAL_MACHINE, "Software\\Classes\\CLSID\\{54D58948-E105-494F-BF70-DF4632A91FA0}");
        if (row.registered) SetStringW(HKEY_LOCAL_MACHINE, kEngineServer, nullptr, row.path, row.type);
        Register(L"1:1:" + kCommand);
        RegistryDump expected = ExpectedRegistration(kCommand, true, false);
        if (!row.icon.empty()) expected[L"Meridel.ClientCU\\DefaultIcon"] = {{L"", row.icon}};
        EXPECT_EQ(DumpOwnedKeys(), expected);
    }
}

}  // namespace
