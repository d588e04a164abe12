#include "custom_actions/core/browser_paths.h"

#include <gtest/gtest.h>

namespace custom_actions_core {
namespace {

TEST(BrowserPathsChrome, AppendsTheExecutableWhenItFits) {
    EXPECT_EQ(L"C:\\Chrome\\Application\\chrome.exe", ComposeChromePath(L"C:\\Chrome\\Application"));
    // 248 + 11 characters and the terminator fill 260 exactly.
    EXPECT_TRUE(ComposeChromePath(std::wstring(248, L'c')));
    EXPECT_FALSE(ComposeChromePath(std::wstring(249, L'c')));
}

TEST(BrowserPathsPlugins, SameFoldersWithOrWithoutTrailingBackslash) {
    for (const wchar_t* folder : {L"C:\\Program Files\\Mozilla Firefox", L"C:\\Program Files\\Mozilla Firefox\\"}) {
        const auto folders = ComposePluginFolders(folder);
        ASSERT_TRUE(folders);
        EXPECT_EQ(L"C:\\Program Files\\Mozilla Firefox\\Plugins\\", folders->plugins);
        EXPECT_EQ(L"C:\\Program Files\\Mozilla Firefox\\Components\\", folders->components);
    }
    EXPECT_FALSE(ComposePluginFolders(L""));
    EXPECT_TRUE(ComposePluginFolders(std::wstring(258, L'f')));
    EXPECT_FALSE(ComposePluginFolders(std::wstring(259, L'f')));
    EXPECT_TRUE(ComposePluginFolders(std::wstring(258, L'f') + L"\\"));
}

}  // namespace
}  // namespace custom_actions_core
