#include "remover/core/report_line.h"

#include <algorithm>

#include <iterator>

namespace remover_core {
namespace {

constexpr std::string_view kOutcomeWords[kOutcomeCount] = {"removed", "scheduled", "kept",
                                                           "refused", "failed",    "not started"};

// The report's words for every reason, in the order of the enumeration.
constexpr std::string_view kReasonWords[] = {
    "",
    "kept by /x: a component the command line keeps",
    "kept by /f: the command line keeps the product folders",
    "kept: a kept component's module is still there",
    "the machine's protected folders could not all be learned",
    "not a full path below a drive or a share",
    "an administrative share or a share of this computer",
    "a share other than the product's Application Data folder",
    "the maker's Halvorix folder",
    "a Windows, system or shared folder",
    "Program Files, Common Files, a profile or one of the user's own folders",
    "another user's profile",
    "reached through a link",
    "a folder, not a file",
    "named by the user's classes outside the profile and the product's folders",
    "below the profile: left for the run after the restart",
    "an uninstall command that names no program",
    "the uninstaller's program does not exist",
    "the uninstaller lies outside the maker's folders",
};
static_assert(std::size(kReasonWords) == static_cast<std::size_t>(Reason::OutsideMakersFolders) + 1, "one text per reason");

std::string DetailText(const Detail& detail) {
    std::string text(kReasonWords[static_cast<std::size_t>(detail.reason)]);
    if (detail.error == 0) return text;
    return "Windows error " + std::to_string(detail.error) + (text.empty() ? "" : "; ") + text;
}

}  // namespace

std::string EscapeField(std::string_view utf8) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string escaped;
    escaped.reserve(utf8.size());
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || byte == '%') {
            escaped += '%';
            escaped += kHex[byte >> 4];
            escaped += kHex[byte & 0xF];
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::string ReportLine(Outcome outcome, std::string_view utf8Path, const Detail& detail) {
    return std::string(kOutcomeWords[static_cast<std::size_t>(outcome)]) + '\t' + EscapeField(utf8Path) + '\t' +
           DetailText(detail) + "\r\n";
}

std::string SummaryLine(const OutcomeCounts& counts, bool restartNeeded) {
    std::string line = "summary";
    for (std::size_t i = 0; i < kOutcomeCount; ++i)
        line += '\t' + std::to_string(counts[i]) + ' ' + std::string(kOutcomeWords[i]);
    return line + (restartNeeded ? "\trestart needed\r\n" : "\tno restart needed\r\n");
}

int ReportedExitStatus(const OutcomeCounts& counts, bool restartNeeded, unsigned finishedAfterRestart) {
    const auto count = [&counts](Outcome outcome) { return counts[static_cast<std::size_t>(outcome)]; };
    const unsigned failedForGood = count(Outcome::Failed) - std::min(finishedAfterRestart, count(Outcome::Failed));
    if (count(Outcome::Refused) + failedForGood + count(Outcome::NotStarted) > 0) return 1;
    return restartNeeded ? 3010 : 0;
}

}  // namespace remover_core
