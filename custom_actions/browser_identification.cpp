#include "custom_actions/browser_identification.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string>

#include "custom_actions/core/browser_command.h"

namespace custom_actions {
namespace {

using custom_actions_core::BrowserKind;
using custom_actions_core::kNotRecognised;

constexpr wchar_t kTranslationBlock[] = L"\\VarFileInfo\\Translation";
constexpr const wchar_t* kVersionTextEntries[] = {L"ProductName", L"FileDescription"};
constexpr int kAppDataFolders[] = {CSIDL_APPDATA, CSIDL_LOCAL_APPDATA};

struct Translation {
    WORD language;
    WORD codePage;
};

// A file's whole version resource; empty when it has none or it cannot be read.
class VersionResource {
public:
    explicit VersionResource(const wchar_t* path) {
        DWORD ignored = 0;
        const DWORD size = ::GetFileVersionInfoSizeW(path, &ignored);
        if (size == 0) return;
        // A block that cannot be allocated counts as no version resource.
        data_.reset(new (std::nothrow) BYTE[size]);
        if (data_ && !::GetFileVersionInfoW(path, 0, size, data_.get())) data_.reset();
    }
    bool valid() const { return data_ != nullptr; }

    bool ReadFixed(VS_FIXEDFILEINFO& fixed) const {
        void* block = nullptr;
        UINT length = 0;
        if (!::VerQueryValueW(data_.get(), L"\\", &block, &length) || !block || length < sizeof(fixed))
            return false;
        std::memcpy(&fixed, block, sizeof(fixed));
        return true;
    }

    // The translation table, or null with count 0 when there is none.
    const Translation* Translations(UINT& count) const {
        void* block = nullptr;
        UINT length = 0;
        count = 0;
        if (!::VerQueryValueW(data_.get(), kTranslationBlock, &block, &length) || !block) return nullptr;
        count = length / sizeof(Translation);
        return static_cast<const Translation*>(block);
    }

    // A string-table entry; nothing when the query gives no text. A text counts
    // only while the last error stays clear, so it is cleared first: a
    // successful query need not reset it, and a stale code must not hide the text.
    std::optional<std::wstring> Text(const std::wstring& subBlock) const {
        void* text = nullptr;
        UINT length = 0;
        ::SetLastError(ERROR_SUCCESS);
        const BOOL found = ::VerQueryValueW(data_.get(), subBlock.c_str(), &text, &length);
        if (!found || !text || ::GetLastError() != ERROR_SUCCESS) return std::nullopt;
        const auto* characters = static_cast<const wchar_t*>(text);
        return std::wstring(characters, custom_actions_core::BoundedLength(characters, length));
    }

private:
    std::unique_ptr<BYTE[]> data_;
};

// Looks for the family keywords in the version texts. textFound tells whether
// any text was there to look at, recognised or not.
BrowserKind KindFromVersionTexts(const VersionResource& resource, bool& textFound) {
    UINT count = 0;
    const Translation* translations = resource.Translations(count);
    BrowserKind kind = kNotRecognised;
    for (UINT i = 0; i < count && kind == kNotRecognised; ++i) {
        for (const wchar_t* entry : kVersionTextEntries) {
            if (kind != kNotRecognised) break;
            const std::wstring subBlock =
                custom_actions_core::VersionStringPath(translations[i].language, translations[i].codePage, entry);
            if (subBlock.empty()) continue;
            std::optional<std::wstring> text = resource.Text(subBlock);
            if (!text) continue;
            textFound = true;
            if (!text->empty()) ::CharUpperW(text->data());
            kind = custom_actions_core::KindFromVersionText(*text);
        }
    }
    return kind;
}

}  // namespace

bool IsExistingFile(const wchar_t* path) {
    const DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ReadFixedVersion(const wchar_t* path, VS_FIXEDFILEINFO& fixed) {
    const VersionResource resource(path);
    return resource.valid() && resource.ReadFixed(fixed);
}

bool IsUnderUserAppData(const wchar_t* path) {
    for (int folderId : kAppDataFolders) {
        wchar_t folder[MAX_PATH] = L"";
        if (::SHGetSpecialFolderPathW(nullptr, folder, folderId, FALSE) && folder[0] != L'\0' &&
            ::PathIsPrefixW(folder, path))
            return true;
    }
    return false;
}

BrowserKind IdentifyBrowser(InstallScope scope, const wchar_t* path) {
    if (!IsExistingFile(path)) return kNotRecognised;

    const bool perMachine = scope == InstallScope::kPerMachine;
    custom_actions_core::KindEvidence evidence;
    evidence.perMachine = perMachine;
    BrowserKind kind = kNotRecognised;
    bool textFound = false;
    const VersionResource resource(path);
    if (resource.valid()) {
        VS_FIXEDFILEINFO fixed{};
        if (resource.ReadFixed(fixed)) {
            evidence.hasFixedBlock = true;
            evidence.productMajor = HIWORD(fixed.dwProductVersionMS);
        }
        kind = KindFromVersionTexts(resource, textFound);
    }
    // A file that names itself decides by its texts alone.
    if (!textFound) kind = custom_actions_core::KindFromExecutableName(path);

    if (custom_actions_core::KindNeedsLocation(kind, perMachine)) evidence.underUserAppData = IsUnderUserAppData(path);
    return custom_actions_core::ApplyKindCondition(kind, evidence);
}

}  // namespace custom_actions
