// "meridremover.exe /s /r<file>" as a deployment tool runs it: the report's
// lines and the exit status for a held file, a refused folder and a report
// that cannot be made.
#include <gtest/gtest.h>

#include "tests/support/file_fixture.h"
#include "tests/support/host_link.h"
#include "tests/support/machine_fixture.h"
#include "tests/support/process_fixture.h"
#include "tests/support/product_fixture.h"
#include "tests/support/registry_fixture.h"
#include "tests/support/removal_support.h"

namespace remover {
namespace {

using namespace testsupport;

class RemovalReport : public ::testing::Test {
protected:
    RemovalReport()
        : product_(CommonFilesProductFolder()),
          maker_(product_.substr(0, product_.rfind('\\'))),
          temp_("report folder"),
          registry_(ProductRegistryPlaces()),
          report_(temp_.path() + "\\removal report.txt") {}

    DWORD Run() { return RunRemover("/s /r\"" + report_ + "\""); }
    std::string Report() const { return ReadWholeFile(report_); }

    std::string product_;
    ScopedFolderCleanup maker_;
    ScopedTempFolder temp_;
    ScopedRegistryCleanup registry_;
    std::string report_;
};

TEST_F(RemovalReport, HeldFileIsScheduledAndAsksForTheRestart) {
    const std::string held = product_ + "\\held.txt";
    ASSERT_TRUE(WriteFile(held));
    // An earlier report is replaced, never appended to.
    ASSERT_TRUE(WriteFile(report_, "an earlier run\r\n"));
    {
        FileHolder holder({held});
        ASSERT_TRUE(holder.holding());
        EXPECT_EQ(Run(), 3010u);
    }
    DropPendingBelow(product_);
    const std::string report = Report();
    EXPECT_EQ(report.rfind("\xEF\xBB\xBF", 0), 0u);
    EXPECT_NE(report.find("scheduled\t" + held + "\t\r\n"), std::string::npos) << report;
    EXPECT_EQ(report.find("an earlier run"), std::string::npos);
    EXPECT_NE(report.find("\trestart needed\r\n"), std::string::npos) << report;
}

TEST_F(RemovalReport, RefusedFolderIsNamedWithItsRule) {
    char windows[MAX_PATH] = {};
    ASSERT_GT(::GetWindowsDirectoryA(windows, MAX_PATH), 0u);
    SetString(HKEY_LOCAL_MACHINE, std::string(kProductKey) + "\\Help", "User's Guide",
              std::string(windows) + "\\guide.chm");
    EXPECT_EQ(Run(), 1u);
    EXPECT_NE(Report().find("\ta Windows, system or shared folder\r\n"), std::string::npos) << Report();
    EXPECT_NE(Report().find("refused\t"), std::string::npos);
}

TEST_F(RemovalReport, ReportThatCannotBeMadeRemovesNothing) {
    const std::string module = product_ + "\\engine.dll";
    ASSERT_TRUE(WriteFile(module));
    report_ = temp_.path() + "\\missing\\report.txt";
    EXPECT_EQ(Run(), 2u);
    EXPECT_TRUE(FileExists(module));
    EXPECT_FALSE(FileExists(report_));
}

// A link that a standard user put at the report's name leads nowhere: the
// file it points to keeps what it held.
TEST_F(RemovalReport, LinkAtTheReportsNameIsNotWrittenThrough) {
    const std::string target = temp_.path() + "\\system settings.ini";
    ASSERT_TRUE(WriteFile(target, "precious"));
    ScopedHostLinks links;
    if (!links.File(report_, target)) GTEST_SKIP() << "no host link could be made";
    Run();
    EXPECT_EQ(ReadWholeFile(target), "precious");
}

}  // namespace
}  // namespace remover
