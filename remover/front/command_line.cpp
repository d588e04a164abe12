#include "remover/front/command_line.h"

#include <objbase.h>

#include <string>

#include "platform/exact_text.h"
#include "remover/core/option_scan.h"

namespace remover {
namespace {

bool ParseClassId(const std::string& text, GUID& classId) {
    const std::wstring wide = platform::Widen(text);
    return !wide.empty() && SUCCEEDED(::CLSIDFromString(wide.c_str(), &classId));
}

RemoverOptions OptionsFrom(std::string_view arguments) {
    RemoverOptions options;
    for (const auto& option : remover_core::ScanOptions(arguments)) {
        switch (option.kind) {
            case remover_core::OptionKind::Silent:
                options.silent = true;
                break;
            case remover_core::OptionKind::KeepFolders:
                options.removeFolders = false;
                break;
            case remover_core::OptionKind::KeepComponent: {
                GUID classId{};
                if (ParseClassId(option.argument, classId)) options.keepList.push_back(classId);
                break;
            }
            case remover_core::OptionKind::Report:
                if (!options.reportFile) options.reportFile = platform::Widen(option.argument);
                break;
            case remover_core::OptionKind::Ignored:
                break;
        }
    }
    return options;
}

}  // namespace

RemoverOptions ParseCommandLine(const char* commandLine) {
    if (!commandLine) return {};
    return OptionsFrom(remover_core::ArgumentsOf(commandLine));
}

RemoverOptions ParseCommandLine(const wchar_t* commandLine) {
    if (!commandLine) return {};
    // The report file is taken in UTF-16 as written; its token is blanked out
    // before the other options are read in the code page.
    std::wstring wide(remover_core::ArgumentsOf(commandLine));
    const std::vector<remover_core::ReportOption> reports = remover_core::FindReportOptions(wide);
    for (const remover_core::ReportOption& report : reports)
        wide.replace(report.begin, report.end - report.begin, report.end - report.begin, L' ');
    std::string arguments;
    for (const std::wstring_view word : remover_core::BlankSeparatedWords(wide)) {
        std::string narrow;
        if (!platform::NarrowExactly(word, narrow)) continue;
        arguments += narrow;
        arguments += ' ';
    }
    RemoverOptions options = OptionsFrom(arguments);
    if (!reports.empty()) options.reportFile = reports.front().fileName;
    return options;
}

RemoverOptions ReadProcessOptions() {
    if (platform::IsNtFamily()) return ParseCommandLine(::GetCommandLineW());
    return ParseCommandLine(::GetCommandLineA());
}

}  // namespace remover
