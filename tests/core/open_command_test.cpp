#include "custom_actions/core/open_command.h"

#include <gtest/gtest.h>

#include <utility>

namespace custom_actions_core {
namespace {

TEST(OpenCommand, TheDocumentTakesTheShellsPlaces) {
    const std::pair<const wchar_t*, const wchar_t*> rows[] = {
        {L"\"p.exe\" \"%1\"", L"\"p.exe\" \"C:\\r m.txt\""},
        {L"p.exe %l %* %2 100%% %x", L"p.exe C:\\r m.txt   100% %x"},
        {L"p.exe /open", L"p.exe /open \"C:\\r m.txt\""},
        {L"p.exe %", L"p.exe % \"C:\\r m.txt\""},
    };
    for (const auto& [registered, expected] : rows)
        EXPECT_EQ(ComposeOpenCommand(registered, L"C:\\r m.txt"), expected) << testing::PrintToString(registered);
}

}  // namespace
}  // namespace custom_actions_core
