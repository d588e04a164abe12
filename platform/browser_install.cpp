#include "platform/browser_install.h"

namespace platform {
namespace {

template <class Char>
std::basic_string<Char> Text(const char* ascii) {
    return std::basic_string<Char>(ascii, ascii + std::char_traits<char>::length(ascii));
}

}  // namespace

template <class Char>
bool ReadBrowserInstallDirectory(const Char* browserKey, TextRule rule, std::basic_string<Char>& out) {
    BasicRegistryKey<Char> browser;
    if (browser.Open(HKEY_LOCAL_MACHINE, (Text<Char>("Software\\") + browserKey).c_str(), KEY_READ) != ERROR_SUCCESS)
        return false;
    std::basic_string<Char> version;
    if (browser.ReadText(Text<Char>("CurrentVersion").c_str(), version, rule) != ERROR_SUCCESS) return false;
    BasicRegistryKey<Char> main;
    if (main.Open(browser.get(), (version + Text<Char>("\\Main")).c_str(), KEY_QUERY_VALUE) != ERROR_SUCCESS)
        return false;
    return main.ReadText(Text<Char>("Install Directory").c_str(), out, rule) == ERROR_SUCCESS;
}

template bool ReadBrowserInstallDirectory(const char*, TextRule, std::string&);
template bool ReadBrowserInstallDirectory(const wchar_t*, TextRule, std::wstring&);

}  // namespace platform
