#include "custom_actions/core/custom_action_data.h"

#include <gtest/gtest.h>

#include "custom_actions/core/default_icon.h"

namespace custom_actions_core {
namespace {

TEST(ParseCustomActionData, ReadsBothFlagsAndTheCommandVerbatim) {
    struct Row {
        const wchar_t* value;
        bool registerTypes;
        bool withDde;
        const wchar_t* command;
    };
    const Row rows[] = {
        {L"1:1:\"C:\\b.exe\" \"%1\"", true, true, L"\"C:\\b.exe\" \"%1\""},
        {L"1:0:cmd", true, false, L"cmd"},
        {L"1:1:", true, true, L""},
        {L"0:0:", false, false, L""},
        {L"0:1:cmd", false, true, L"cmd"},
        {L"2:1:cmd", false, true, L"cmd"},
        {L"1:x:a:b", true, false, L"a:b"},
        {L"1:1: leading blank", true, true, L" leading blank"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.value)));
        const auto request = ParseCustomActionData(row.value);
        ASSERT_TRUE(request);
        EXPECT_EQ(request->registerTypes, row.registerTypes);
        EXPECT_EQ(request->withDde, row.withDde);
        EXPECT_EQ(request->command, row.command);
    }
}

TEST(ParseCustomActionData, RejectsValuesWithoutBothColons) {
    for (const wchar_t* value : {L"", L"1", L"1:1", L"1;1:x", L"1:1;x", L"11:1:", L":1:1", L"1::"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(value)));
        EXPECT_FALSE(ParseCustomActionData(value));
    }
}

TEST(ComposeDefaultIcon, AppendsIconZeroOnlyWhenItFitsTheBuffer) {
    EXPECT_EQ(ComposeDefaultIcon(L"C:\\Meridel\\engine.dll"), L"C:\\Meridel\\engine.dll,0");
    EXPECT_EQ(ComposeDefaultIcon(L""), L",0");
    // 257 characters, ",0" and the terminator fill the 260-character buffer.
    const std::wstring longest(257, L'p');
    EXPECT_EQ(ComposeDefaultIcon(longest), longest + L",0");
    EXPECT_FALSE(ComposeDefaultIcon(longest + L"p"));
    EXPECT_FALSE(ComposeDefaultIcon(longest + L"pp"));
}

}  // namespace
}  // namespace custom_actions_core
