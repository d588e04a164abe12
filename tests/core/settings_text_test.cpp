#include "custom_actions/core/settings_text.h"

#include <gtest/gtest.h>

namespace custom_actions_core {
namespace {

TEST(SettingsText, EntriesAreSetAsTheProfileFunctionsSetThem) {
    struct Row {
        const wchar_t* text;
        const wchar_t* expected;
    };
    const Row rows[] = {
        {L"", L"[S]\r\nk=v\r\n"},
        // The first section of that name, in any case, keeps its other lines.
        {L"[a]\nk=1\n[ s ]\nx=2\n\n[S]\nk=3", L"[a]\r\nk=1\r\n[ s ]\r\nx=2\r\nk=v\r\n\r\n[S]\r\nk=3\r\n"},
        {L"[S]\r\n K =old\r\n;k=c\r\n", L"[S]\r\nk=v\r\n;k=c\r\n"},
        {L"[other]\r\nk=1", L"[other]\r\nk=1\r\n[S]\r\nk=v\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.text)));
        EXPECT_EQ(SetSettingsEntries(row.text, {{L"S", L"k", L"v"}}), row.expected);
    }
}

}  // namespace
}  // namespace custom_actions_core
