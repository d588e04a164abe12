#include "tests/custom_actions/registry_dump.h"

#include <vector>

#include "platform/unique_resource.h"

namespace testsupport {
namespace {

void DumpKey(HKEY key, const std::wstring& relative, RegistryDump& dump) {
    auto& values = dump[relative];
    for (DWORD i = 0;; ++i) {
        wchar_t name[16384];
        DWORD nameLength = 16384;
        DWORD type = 0;
        std::vector<BYTE> data(65536);
        DWORD size = static_cast<DWORD>(data.size());
        if (::RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) break;
        std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
        if (!text.empty() && text.back() == L'\0') text.pop_back();
        if (type != REG_SZ) text = L"<type " + std::to_wstring(type) + L">" + text;
        values[std::wstring(name, nameLength)] = text;
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (::RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        platform::UniqueKey child;
        if (::RegOpenKeyExW(key, name, 0, KEY_READ, child.put()) != ERROR_SUCCESS) continue;
        DumpKey(child.get(), relative.empty() ? name : relative + L"\\" + name, dump);
    }
}

}  // namespace

RegistryDump DumpTree(HKEY root, const std::wstring& path) {
    RegistryDump dump;
    platform::UniqueKey key;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS) DumpKey(key.get(), L"", dump);
    return dump;
}

ULONGLONG KeyWriteTime(HKEY root, const std::wstring& path) {
    platform::UniqueKey key;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return 0;
    FILETIME time = {};
    if (::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, &time) != ERROR_SUCCESS)
        return 0;
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace testsupport
