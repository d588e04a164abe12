#include "remover/front/report_file.h"

#include <windows.h>

#include <vector>

#include "platform/exact_text.h"
#include "platform/held_folder.h"
#include "remover/core/report_line.h"

namespace remover {
namespace {

// Systems without the handle calls (before Vista) have no file links; the
// Windows 95 family has no UTF-16 file calls.
platform::UniqueFile CreateByName(const std::wstring& path) {
    if (platform::IsNtFamily()) {
        ::DeleteFileW(path.c_str());
        return platform::UniqueFile(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    std::string narrow;
    if (!platform::NarrowExactly(path, narrow)) return {};
    ::DeleteFileA(narrow.c_str());
    return platform::UniqueFile(::CreateFileA(narrow.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
}

platform::UniqueFile CreateNew(const std::wstring& path) {
    if (path.empty() || !platform::IsNtFamily() || !platform::HeldFolder::Available()) return CreateByName(path);
    std::vector<wchar_t> full(32768, L'\0');
    wchar_t* name = nullptr;
    const DWORD length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), &name);
    if (length == 0 || length >= full.size() || !name || !*name) return {};
    std::wstring folder(full.data(), name);
    // "C:\" keeps its backslash; every other folder drops it.
    if (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
    const platform::HeldFolder held = platform::HeldFolder::OpenResolved(folder);
    return held ? held.CreateFileBelow(name) : platform::UniqueFile();
}

}  // namespace

bool ReportFile::Create(const std::wstring& path) {
    file_ = CreateNew(path);
    if (!file_) return false;
    Write(std::string(remover_core::kByteOrderMark));
    return Intact();
}

void ReportFile::Write(const std::string& bytes) {
    DWORD written = 0;
    if (!::WriteFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size())
        intact_ = false;
}

}  // namespace remover
