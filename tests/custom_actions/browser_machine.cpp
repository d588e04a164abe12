#include "tests/custom_actions/browser_machine.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include "tests/custom_actions/session_fixture.h"
#include "tests/support/file_fixture.h"
#include "tests/support/registry_fixture.h"

namespace browsertest {
namespace {

constexpr char kStartMenuInternet[] = "Software\\Clients\\StartMenuInternet";
constexpr char kChromeUninstall[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Google Chrome";
constexpr char kInternetExplorerServer[] =
    "Software\\Classes\\CLSID\\{0002DF01-0000-0000-C000-000000000046}\\LocalServer32";
constexpr wchar_t kServerUnderMachine[] =
    L"Software\\Classes\\CLSID\\{0002DF01-0000-0000-C000-000000000046}\\LocalServer32";
constexpr char kBrowserFolder[] = "\\Meridel Browsers";

std::wstring SpecialFolder(int id) {
    wchar_t path[MAX_PATH] = L"";
    ::SHGetSpecialFolderPathW(nullptr, path, id, FALSE);
    return path;
}

void RemoveTestFolders() {
    testsupport::RemoveTree(Narrow(ProgramFilesFolder()) + kBrowserFolder);
    testsupport::RemoveTree(Narrow(LocalAppDataFolder()) + kBrowserFolder);
    testsupport::RemoveTree(Narrow(RoamingAppDataFolder()) + kBrowserFolder);
    testsupport::RemoveTree(Narrow(RoamingAppDataFolder()) + "\\Opera");
}

}  // namespace

const wchar_t kInternetExplorerServerKey[] = L"CLSID\\{0002DF01-0000-0000-C000-000000000046}\\LocalServer32";

std::wstring ProgramFilesFolder() { return SpecialFolder(CSIDL_PROGRAM_FILES); }
std::wstring InternetExplorerProgram() { return ProgramFilesFolder() + L"\\Internet Explorer\\iexplore.exe"; }
std::wstring LocalAppDataFolder() { return SpecialFolder(CSIDL_LOCAL_APPDATA); }
std::wstring RoamingAppDataFolder() { return SpecialFolder(CSIDL_APPDATA); }

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text) narrow += static_cast<char>(c);  // the tests use ASCII paths only
    return narrow;
}

BrowserMachine::BrowserMachine() {
    originalServer_ = testsupport::ReadStringW(HKEY_LOCAL_MACHINE, kServerUnderMachine, nullptr);
    Clear();
}

BrowserMachine::~BrowserMachine() {
    Clear();
    testsupport::DeleteTree(HKEY_LOCAL_MACHINE, kInternetExplorerServer);
    if (originalServer_) testsupport::SetStringW(HKEY_LOCAL_MACHINE, kServerUnderMachine, nullptr, *originalServer_);
}

void BrowserMachine::Clear() {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) testsupport::DeleteTree(root, kStartMenuInternet);
    testsupport::DeleteTree(HKEY_CURRENT_USER, kChromeUninstall);
    testsupport::DeleteTree(HKEY_LOCAL_MACHINE, "Software\\Mozilla");
    testsupport::DeleteTree(HKEY_LOCAL_MACHINE, "Software\\mozilla.org");
    RemoveTestFolders();
}

void BrowserMachine::CopyFixture(const std::string& fixture, const std::wstring& path) {
    testsupport::CopyFileTo(testsupport::FixturePath(fixture + ".exe"), Narrow(path));
}

std::wstring BrowserMachine::InstallMachineWide(const std::string& fixture, const std::wstring& relative) {
    const std::wstring path = ProgramFilesFolder() + L"\\Meridel Browsers\\" + relative;
    CopyFixture(fixture, path);
    return path;
}

std::wstring BrowserMachine::InstallForUser(const std::string& fixture, const std::wstring& relative) {
    const std::wstring path = LocalAppDataFolder() + L"\\Meridel Browsers\\" + relative;
    CopyFixture(fixture, path);
    return path;
}

void BrowserMachine::RegisterClient(HKEY root, const std::wstring& clientId, const wchar_t* displayName,
                                    const std::wstring& command) {
    const std::wstring client = L"Software\\Clients\\StartMenuInternet\\" + clientId;
    testsupport::SetStringW(root, client + L"\\shell\\open\\command", nullptr, command);
    if (displayName) testsupport::SetStringW(root, client, nullptr, displayName);
}

void BrowserMachine::SetDefaultClient(HKEY root, const std::wstring& clientId) {
    testsupport::SetStringW(root, L"Software\\Clients\\StartMenuInternet", nullptr, clientId);
}

void BrowserMachine::SetChromeInstallLocation(const std::wstring& folder) {
    testsupport::SetStringW(HKEY_CURRENT_USER, testsupport::Widen(kChromeUninstall), L"InstallLocation", folder);
}

void BrowserMachine::RegisterNetscapeFamily(const std::wstring& browserKey, const std::wstring& version,
                                            const std::wstring& installDirectory) {
    const std::wstring key = L"Software\\" + browserKey;
    testsupport::SetStringW(HKEY_LOCAL_MACHINE, key, L"CurrentVersion", version);
    testsupport::SetStringW(HKEY_LOCAL_MACHINE, key + L"\\" + version + L"\\Main", L"Install Directory",
                            installDirectory);
}

void BrowserMachine::SetInternetExplorerServer(const std::wstring& command) {
    testsupport::SetStringW(HKEY_LOCAL_MACHINE, kServerUnderMachine, nullptr, command);
}

void BrowserMachine::RemoveInternetExplorerClass() {
    testsupport::DeleteTree(HKEY_LOCAL_MACHINE, kInternetExplorerServer);
}

}  // namespace browsertest
