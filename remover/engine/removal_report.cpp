#include "remover/engine/removal_report.h"

#include <optional>

#include "platform/exact_text.h"
#include "remover/engine/class_registration.h"

namespace remover {
namespace {

std::string Utf8(const std::string& codePageText) {
    const std::wstring wide = platform::Widen(codePageText);
    if (wide.empty()) return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                           nullptr, nullptr);
    if (size <= 0) return {};
    std::string utf8(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &utf8[0], size, nullptr, nullptr);
    return utf8;
}

}  // namespace

void RemovalContext::Report(remover_core::Outcome outcome, const std::string& path,
                            const remover_core::Detail& detail) {
    ++outcomes[static_cast<size_t>(outcome)];
    if (outcome == remover_core::Outcome::Failed && detail.reason == remover_core::Reason::LeftForNextRun)
        ++leftForNextRun;
    if (reportLine) reportLine(remover_core::ReportLine(outcome, Utf8(path), detail));
}

void ReportIfPresent(RemovalContext& context, remover_core::Outcome outcome, const std::string& path,
                     const remover_core::Detail& detail) {
    if (::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) context.Report(outcome, path, detail);
}

void ReportFailure(RemovalContext& context, const std::string& path, DWORD error) {
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
        context.Report(remover_core::Outcome::Failed, path, error);
}

void ReportKeptComponent(RemovalContext& context, const GUID& classId) {
    const std::optional<ClassServer> server = ReadInprocServer(classId);
    context.Report(remover_core::Outcome::Kept, server ? server->path : "CLSID\\" + GuidToText(classId),
                   remover_core::Reason::KeptComponent);
}

}  // namespace remover
