#include "remover/core/option_scan.h"

#include <gtest/gtest.h>

namespace remover_core {
namespace {

using K = OptionKind;

struct Case {
    const char* commandLine;
    std::vector<ScannedOption> expected;
};

std::string Describe(const std::vector<ScannedOption>& options) {
    std::string text;
    for (const auto& o : options) text += std::to_string(static_cast<int>(o.kind)) + ":" + o.argument + " ";
    return text;
}

TEST(ScanOptions, FollowsTheSlashAndBlankRules) {
    const Case cases[] = {
        {"", {}},
        {"meridremover.exe", {}},
        {"meridremover.exe /s", {{K::Silent, ""}}},
        {"meridremover.exe /S /F", {{K::Silent, ""}, {K::KeepFolders, ""}}},
        {"meridremover.exe\t/s\t/f", {{K::Silent, ""}, {K::KeepFolders, ""}}},
        {"x.exe /s/f", {{K::Ignored, "s/f"}}},
        {"x.exe /silent /sf", {{K::Ignored, "silent"}, {K::Ignored, "sf"}}},
        {"x.exe -s", {}},
        {"x.exe /", {{K::Ignored, ""}}},
        {"x.exe / /s", {{K::Ignored, ""}, {K::Silent, ""}}},
        {"x.exe /x", {{K::KeepComponent, ""}}},
        {"x.exe /x {A}", {{K::KeepComponent, ""}}},
        {"x.exe /X{a-b} /x{c}", {{K::KeepComponent, "{a-b}"}, {K::KeepComponent, "{c}"}}},
        {"x.exe /x{c} /x{c}", {{K::KeepComponent, "{c}"}, {K::KeepComponent, "{c}"}}},
        // The program's own path is scanned too; quotes mean nothing.
        {"\"C:/Tools/rm.exe\" /s", {{K::Ignored, "Tools/rm.exe\""}, {K::Silent, ""}}},
        {"C:/s /f", {{K::Silent, ""}, {K::KeepFolders, ""}}},
        {"x.exe  /s  ", {{K::Silent, ""}}},
        {"x.exe /s\t", {{K::Silent, ""}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.commandLine);
        EXPECT_EQ(Describe(ScanOptions(c.commandLine)), Describe(c.expected));
    }
}

}  // namespace
}  // namespace remover_core
