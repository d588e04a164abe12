#pragma once
// Seeds the real (Wine) registry and reads it back, for tests.
#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

// Creates the key with every missing key on its path. Fails the test if it cannot.
void CreateKey(HKEY root, const std::string& path);
// A string value, stored with its terminator.
void SetString(HKEY root, const std::string& path, const char* name, const std::string& value,
               DWORD type = REG_SZ);
// Raw bytes of any type: strings without a terminator, over-long or odd data.
void SetRaw(HKEY root, const std::string& path, const char* name, DWORD type, const std::string& bytes);
void SetDword(HKEY root, const std::string& path, const char* name, DWORD value);
// Wide-character forms, for the custom actions. False (and a test failure)
// when the value could not be written.
bool SetStringW(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& value,
                DWORD type = REG_SZ);

bool KeyExists(HKEY root, const std::string& path);
bool ValueExists(HKEY root, const std::string& path, const char* name);
// The value's bytes up to (not including) its terminator; nullopt when missing.
std::optional<std::string> ReadString(HKEY root, const std::string& path, const char* name);
std::optional<std::wstring> ReadStringW(HKEY root, const std::wstring& path, const wchar_t* name);
std::vector<std::string> SubkeyNames(HKEY root, const std::string& path);
std::vector<std::string> ValueNames(HKEY root, const std::string& path);

// Deletes the key with everything below it; a missing key is fine.
void DeleteTree(HKEY root, const std::string& path);

// Deletes the named keys when constructed and again when destroyed, so a test
// starts from and leaves behind a clean prefix.
class ScopedRegistryCleanup {
public:
    explicit ScopedRegistryCleanup(std::vector<std::pair<HKEY, std::string>> keys);
    ~ScopedRegistryCleanup();
    ScopedRegistryCleanup(const ScopedRegistryCleanup&) = delete;
    ScopedRegistryCleanup& operator=(const ScopedRegistryCleanup&) = delete;

private:
    std::vector<std::pair<HKEY, std::string>> keys_;
};

}  // namespace testsupport
