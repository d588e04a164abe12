#include "remover/core/report_line.h"

#include <gtest/gtest.h>

namespace remover_core {
namespace {

TEST(ReportLine, KeepsEveryTraceOnOneLineOfThreeFields) {
    const struct {
        Outcome outcome;
        std::string path;
        Detail detail;
        std::string line;
    } cases[] = {
        {Outcome::Removed, "C:\\Program Files\\Halvorix\\Meridel VRML Client\\npMeridel.dll", {},
         "removed\tC:\\Program Files\\Halvorix\\Meridel VRML Client\\npMeridel.dll\t\r\n"},
        {Outcome::Scheduled, "C:\\a\tb\r\nc.dll", {}, "scheduled\tC:\\a%09b%0D%0Ac.dll\t\r\n"},
        {Outcome::Failed, "C:\\100%\\x\x7F", Detail(5ul), "failed\tC:\\100%25\\x%7F\tWindows error 5\r\n"},
        {Outcome::Failed, "C:\\u\\x", Detail(Reason::LeftForNextRun, 32ul),
         "failed\tC:\\u\\x\tWindows error 32; below the profile: left for the run after the restart\r\n"},
        {Outcome::Refused, "C:\\windows", Reason::SystemFolder, "refused\tC:\\windows\ta Windows, system or shared folder\r\n"},
        {Outcome::Kept, "C:\\m\xC3\xA9ridel", Reason::KeptFolders,
         "kept\tC:\\m\xC3\xA9ridel\tkept by /f: the command line keeps the product folders\r\n"},
        {Outcome::NotStarted, "C:\\old\\uninst.exe", Reason::OutsideMakersFolders,
         "not started\tC:\\old\\uninst.exe\tthe uninstaller lies outside the maker's folders\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ReportLine(c.outcome, c.path, c.detail), c.line);
    }
}

// The summary counts each outcome; the exit status says whether anything
// stays for good (1), waits for the restart (3010) or is gone (0).
TEST(ReportLine, SummaryAndExitStatusFollowTheOutcomes) {
    const struct {
        OutcomeCounts counts;
        bool restart;
        int status;
        const char* summary;
        unsigned finishedAfterRestart = 0;
    } cases[] = {
        {{3, 0, 0, 0, 0, 0}, false, 0, "3 removed\t0 scheduled\t0 kept\t0 refused\t0 failed\t0 not started\tno restart needed"},
        {{3, 1, 2, 0, 0, 0}, true, 3010, "3 removed\t1 scheduled\t2 kept\t0 refused\t0 failed\t0 not started\trestart needed"},
        {{0, 1, 0, 1, 0, 0}, true, 1, "0 removed\t1 scheduled\t0 kept\t1 refused\t0 failed\t0 not started\trestart needed"},
        {{0, 0, 0, 0, 1, 0}, false, 1, "0 removed\t0 scheduled\t0 kept\t0 refused\t1 failed\t0 not started\tno restart needed"},
        {{0, 0, 0, 0, 0, 1}, false, 1, "0 removed\t0 scheduled\t0 kept\t0 refused\t0 failed\t1 not started\tno restart needed"},
        // Left for the run after the restart: the restart finishes them; one more failure does not.
        {{0, 1, 0, 0, 2, 0}, true, 3010, "0 removed\t1 scheduled\t0 kept\t0 refused\t2 failed\t0 not started\trestart needed", 2},
        {{0, 1, 0, 0, 2, 0}, true, 1, "0 removed\t1 scheduled\t0 kept\t0 refused\t2 failed\t0 not started\trestart needed", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.summary);
        EXPECT_EQ(SummaryLine(c.counts, c.restart), std::string("summary\t") + c.summary + "\r\n");
        EXPECT_EQ(ReportedExitStatus(c.counts, c.restart, c.finishedAfterRestart), c.status);
    }
}

}  // namespace
}  // namespace remover_core
