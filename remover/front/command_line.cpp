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
    std::string arguments;
    for (const std::wstring_view word : remover_core::BlankSeparatedWords(remover_core::ArgumentsOf(commandLine))) {
        std::string narrow;
        if (!platform::NarrowExactly(word, narrow)) continue;
        arguments += narrow;
        arguments += ' ';
    }
    return OptionsFrom(arguments);
}

RemoverOptions ReadProcessOptions() {
    if (platform::IsNtFamily()) return ParseCommandLine(::GetCommandLineW());
    return ParseCommandLine(::GetCommandLineA());
}

}  // namespace remover
