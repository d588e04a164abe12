// The property helpers against a real installer session.
#include "custom_actions/installer_session.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/custom_actions/session_fixture.h"

namespace {

using namespace custom_actions;
using testsupport::SessionFixture;

TEST(InstallerSessionTest, AllUsersDecidesPerMachineOnlyForOneOrAnUnreadableValue) {
    SessionFixture session;
    ASSERT_TRUE(session.valid());
    struct Row {
        std::wstring value;
        bool perMachine;
    };
    const Row rows[] = {
        {L"1", true},
        {L"", false},
        {L"2", false},
        {L"01", false},
        {L"1 ", false},
        {std::wstring(31, L'1'), false},  // fits the 32-character buffer
        {std::wstring(32, L'1'), true},   // does not fit: read fails
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.value));
        session.SetProperty(L"ALLUSERS", row.value);
        EXPECT_EQ(ReadInstallScope(session.handle()) == InstallScope::kPerMachine, row.perMachine);
    }
    EXPECT_EQ(ReadInstallScope(0), InstallScope::kPerMachine);
}

TEST(InstallerSessionTest, ReadPropertyFillsTheBufferOnlyWhenTheValueFits) {
    SessionFixture session;
    ASSERT_TRUE(session.valid());
    wchar_t buffer[8];
    session.SetProperty(L"MeridelTestValue", L"1234567");
    EXPECT_EQ(ReadProperty(session.handle(), L"MeridelTestValue", buffer, 8), 0u);
    EXPECT_EQ(std::wstring(buffer), L"1234567");

    session.SetProperty(L"MeridelTestValue", L"12345678");
    EXPECT_EQ(ReadProperty(session.handle(), L"MeridelTestValue", buffer, 8), static_cast<UINT>(ERROR_MORE_DATA));
    EXPECT_EQ(std::wstring(buffer), L"");  // never a cut value

    EXPECT_EQ(ReadProperty(session.handle(), L"MeridelTestUnset", buffer, 8), 0u);
    EXPECT_EQ(std::wstring(buffer), L"");
    EXPECT_EQ(ReadProperty(0, L"ALLUSERS", buffer, 8), static_cast<UINT>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(std::wstring(buffer), L"");

    WriteProperty(session.handle(), L"MeridelTestWritten", L"yes");
    EXPECT_EQ(session.GetProperty(L"MeridelTestWritten"), L"yes");
}

}  // namespace
