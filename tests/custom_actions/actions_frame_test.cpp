// What every export of msi_pinecone.dll shares: it is found by its plain name
// and returns 0 even when the session cannot be read at all.
#include <gtest/gtest.h>

#include "tests/custom_actions/session_fixture.h"
#include "tests/support/registry_fixture.h"

namespace {

using namespace testsupport;

TEST(ActionsFrameTest, EveryExportReturnsZeroOnAnUnreadableSession) {
    ScopedRegistryCleanup cleanup{{
        {HKEY_CURRENT_USER, "Software\\Classes\\MIME\\Database\\Content Type"},
        {HKEY_CURRENT_USER, "Software\\Halvorix"},
    }};
    for (const wchar_t* action : {L"DetectBrowsers", L"EnumerateBrowsers", L"InstallFinalize", L"MakeOperaHappy",
                                  L"RegisterFileExtension", L"SelectBrowser", L"ShowReadme", L"ShowScene",
                                  L"UninstallFinalize"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(action)));
        EXPECT_EQ(SessionFixture::CallActionWithHandle(action, 0), 0u);
    }
}

}  // namespace
