#include "custom_actions/core/browser_kind.h"

#include <cstddef>

#include "platform/ascii_case.h"

namespace custom_actions_core {
namespace {

enum class Condition { kNone, kVersion, kLocation };

struct KindRow {
    BrowserKind kind;
    const wchar_t* keyword;         // searched in the upper-cased version texts
    const wchar_t* executableName;  // compared with the file name
    Condition condition;
    unsigned minMajorPerMachine;
    unsigned minMajorPerUser;
};

// In code order: the first hit decides. Opera's keyword keeps its trailing
// blank so that a bare "OPERA" (other products of the maker) does not count.
constexpr KindRow kKinds[] = {
    {kInternetExplorer, L"INTERNET EXPLORER", L"IEXPLORE.EXE", Condition::kNone, 0, 0},
    {kFirefox, L"FIREFOX", L"FIREFOX.EXE", Condition::kVersion, 2, 3},
    {kOpera, L"OPERA ", L"OPERA.EXE", Condition::kVersion, 9, 9},
    {kChrome, L"CHROME", L"CHROME.EXE", Condition::kLocation, 0, 0},
    {kSafari, L"SAFARI", L"SAFARI.EXE", Condition::kVersion, 4, 4},
};

const KindRow* FindRow(BrowserKind kind) {
    for (const KindRow& row : kKinds)
        if (row.kind == kind) return &row;
    return nullptr;
}

}  // namespace

BrowserKind KindFromVersionText(std::wstring_view upperText) {
    for (const KindRow& row : kKinds)
        if (upperText.find(row.keyword) != std::wstring_view::npos) return row.kind;
    return kNotRecognised;
}

BrowserKind KindFromExecutableName(std::wstring_view path) {
    const std::size_t slash = path.rfind(L'\\');
    if (slash == std::wstring_view::npos) return kNotRecognised;
    const std::wstring_view name = path.substr(slash + 1);
    for (const KindRow& row : kKinds)
        if (platform::EqualsIgnoringAsciiCase<wchar_t>(name, row.executableName)) return row.kind;
    return kNotRecognised;
}

BrowserKind ApplyKindCondition(BrowserKind kind, const KindEvidence& evidence) {
    const KindRow* row = FindRow(kind);
    if (!row) return kNotRecognised;
    switch (row->condition) {
        case Condition::kNone:
            return kind;
        case Condition::kVersion: {
            const unsigned minimum = evidence.perMachine ? row->minMajorPerMachine : row->minMajorPerUser;
            return evidence.hasFixedBlock && evidence.productMajor >= minimum ? kind : kNotRecognised;
        }
        case Condition::kLocation:
            return evidence.perMachine || evidence.underUserAppData ? kind : kNotRecognised;
    }
    return kNotRecognised;
}

bool KindNeedsLocation(BrowserKind kind, bool perMachine) {
    const KindRow* row = FindRow(kind);
    return row && row->condition == Condition::kLocation && !perMachine;
}

std::wstring VersionStringPath(std::uint16_t language, std::uint16_t codePage, std::wstring_view entry) {
    constexpr std::size_t kMaxLength = 63;  // a 64-character buffer with its terminator
    static constexpr wchar_t kHex[] = L"0123456789abcdef";
    std::wstring path = L"\\StringFileInfo\\";
    for (std::uint16_t word : {language, codePage})
        for (int shift = 12; shift >= 0; shift -= 4) path += kHex[(word >> shift) & 0xF];
    path += L'\\';
    path += entry;
    if (path.size() > kMaxLength) return std::wstring();
    return path;
}

}  // namespace custom_actions_core
