#include "remover/front/command_line.h"

#include <objbase.h>

#include <string>

#include "remover/core/option_scan.h"

namespace remover {
namespace {

bool ParseClassId(const std::string& text, GUID& classId) {
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 0) return false;
    std::wstring wide(static_cast<size_t>(length), L'\0');
    if (::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length) <= 0) return false;
    return SUCCEEDED(::CLSIDFromString(wide.c_str(), &classId));
}

}  // namespace

RemoverOptions ParseCommandLine(const char* commandLine) {
    RemoverOptions options;
    if (!commandLine) return options;
    for (const auto& option : remover_core::ScanOptions(commandLine)) {
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

}  // namespace remover
