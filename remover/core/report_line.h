#pragma once
// The lines of the removal report that an administrator asks for: UTF-8,
// tab-separated, one line per trace the run acted on or left, then one
// summary line. Pure text logic, so that a spreadsheet and a script read
// what the remover writes alike.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace remover_core {

enum class Outcome { Removed, Scheduled, Kept, Refused, Failed, NotStarted };
constexpr std::size_t kOutcomeCount = 6;
using OutcomeCounts = std::array<unsigned, kOutcomeCount>;

// Why a trace was kept, refused or not started (or failed, beside its error).
enum class Reason {
    None,
    KeptComponent,          // /x
    KeptFolders,            // /f
    FoldersOfKeptComponent, // a kept component's module is still there
    PlacesUnknown,
    NotAFullPath,
    LocalShare,
    ForeignShare,
    MakersFolder,
    SystemFolder,
    ProtectedFolder,
    OtherUsersProfile,
    ThroughLink,
    NotAFile,
    OutsideUsersPlaces,
    LeftForNextRun,
    UnreadableCommand,
    NoSuchProgram,
    OutsideMakersFolders,
};

// What the report says beside an outcome: a reason, a Windows error code, or both.
struct Detail {
    Reason reason = Reason::None;
    unsigned long error = 0;
    Detail() = default;
    Detail(Reason why) : reason(why) {}
    Detail(unsigned long code) : error(code) {}
    Detail(Reason why, unsigned long code) : reason(why), error(code) {}
    bool empty() const { return reason == Reason::None && error == 0; }
};

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The field as written, with '%' and every control character (tab, CR, LF
// among them) as "%XX", so that no name can break a line or a column.
std::string EscapeField(std::string_view utf8);

// "outcome<TAB>path<TAB>detail" and CR LF; `utf8Path` is escaped here.
std::string ReportLine(Outcome outcome, std::string_view utf8Path, const Detail& detail);

// "summary<TAB>N removed<TAB>...<TAB>restart needed" (or "no restart needed").
std::string SummaryLine(const OutcomeCounts& counts, bool restartNeeded);

// 1 when something could not be removed and no restart will remove it, 3010
// when a restart is needed to finish, else 0. Kept traces were asked for.
// `finishedAfterRestart` of the failures were left for the run after the
// restart (which the user is asked for), so they call for the restart only.
int ReportedExitStatus(const OutcomeCounts& counts, bool restartNeeded, unsigned finishedAfterRestart = 0);

}  // namespace remover_core
