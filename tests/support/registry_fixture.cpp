#include "tests/support/registry_fixture.h"

#include <gtest/gtest.h>

#include "platform/unique_resource.h"

namespace testsupport {
namespace {

platform::UniqueKey Create(HKEY root, const std::string& path) {
    platform::UniqueKey key;
    const LONG status = ::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                          key.put(), nullptr);
    EXPECT_EQ(status, ERROR_SUCCESS) << "creating " << path;
    return key;
}

platform::UniqueKey Open(HKEY root, const std::string& path) {
    platform::UniqueKey key;
    ::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put());
    return key;
}

}  // namespace

void CreateKey(HKEY root, const std::string& path) { Create(root, path); }

void SetString(HKEY root, const std::string& path, const char* name, const std::string& value,
               DWORD type) {
    SetRaw(root, path, name, type, std::string(value.c_str(), value.size() + 1));
}

void SetRaw(HKEY root, const std::string& path, const char* name, DWORD type, const std::string& bytes) {
    auto key = Create(root, path);
    const LONG status = ::RegSetValueExA(key.get(), name, 0, type,
                                         reinterpret_cast<const BYTE*>(bytes.data()),
                                         static_cast<DWORD>(bytes.size()));
    EXPECT_EQ(status, ERROR_SUCCESS) << "setting " << path << " " << (name ? name : "(default)");
}

void SetDword(HKEY root, const std::string& path, const char* name, DWORD value) {
    SetRaw(root, path, name, REG_DWORD, std::string(reinterpret_cast<const char*>(&value), sizeof(value)));
}

bool SetStringW(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& value,
                DWORD type) {
    platform::UniqueKey key;
    LONG status = ::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
    if (status == ERROR_SUCCESS)
        status = ::RegSetValueExW(key.get(), name, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    EXPECT_EQ(status, ERROR_SUCCESS) << "setting a wide value";
    return status == ERROR_SUCCESS;
}

bool KeyExists(HKEY root, const std::string& path) { return Open(root, path).valid(); }

bool ValueExists(HKEY root, const std::string& path, const char* name) {
    auto key = Open(root, path);
    return key && ::RegQueryValueExA(key.get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::optional<std::string> ReadString(HKEY root, const std::string& path, const char* name) {
    auto key = Open(root, path);
    if (!key) return std::nullopt;
    DWORD size = 0;
    if (::RegQueryValueExA(key.get(), name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::string data(size, '\0');
    if (size && ::RegQueryValueExA(key.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(&data[0]),
                                   &size) != ERROR_SUCCESS)
        return std::nullopt;
    data.resize(size);
    while (!data.empty() && data.back() == '\0') data.pop_back();
    return data;
}

std::optional<std::wstring> ReadStringW(HKEY root, const std::wstring& path, const wchar_t* name) {
    platform::UniqueKey key;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return std::nullopt;
    DWORD size = 0;
    if (::RegQueryValueExW(key.get(), name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    if (size && ::RegQueryValueExW(key.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(&data[0]),
                                   &size) != ERROR_SUCCESS)
        return std::nullopt;
    data.resize(size / sizeof(wchar_t));
    while (!data.empty() && data.back() == L'\0') data.pop_back();
    return data;
}

std::vector<std::string> SubkeyNames(HKEY root, const std::string& path) {
    std::vector<std::string> names;
    auto key = Open(root, path);
    for (DWORD i = 0; key; ++i) {
        char name[512];
        DWORD length = sizeof(name);
        if (::RegEnumKeyExA(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    return names;
}

std::vector<std::string> ValueNames(HKEY root, const std::string& path) {
    std::vector<std::string> names;
    auto key = Open(root, path);
    for (DWORD i = 0; key; ++i) {
        char name[16384];
        DWORD length = sizeof(name);
        if (::RegEnumValueA(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    return names;
}

void DeleteTree(HKEY root, const std::string& path) { ::RegDeleteTreeA(root, path.c_str()); }

ScopedRegistryCleanup::ScopedRegistryCleanup(std::vector<std::pair<HKEY, std::string>> keys)
    : keys_(std::move(keys)) {
    for (const auto& [root, path] : keys_) DeleteTree(root, path);
}

ScopedRegistryCleanup::~ScopedRegistryCleanup() {
    for (const auto& [root, path] : keys_) DeleteTree(root, path);
}

}  // namespace testsupport
