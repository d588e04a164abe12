#include "custom_actions/browser_discovery.h"

#include <shlwapi.h>

#include <string>
#include <vector>

#include "custom_actions/browser_identification.h"
#include "custom_actions/core/browser_command.h"
#include "custom_actions/core/browser_paths.h"
#include "custom_actions/installer_session.h"
#include "platform/registry_key.h"

using platform::RegistryKey;

namespace custom_actions {
namespace {

using custom_actions_core::BrowserKind;
using custom_actions_core::BrowserRecord;
using custom_actions_core::kDiscoveryPathCapacity;

constexpr wchar_t kStartMenuInternet[] = L"Software\\Clients\\StartMenuInternet";
constexpr wchar_t kInternetExplorerServer[] =
    L"CLSID\\{0002DF01-0000-0000-C000-000000000046}\\LocalServer32";
constexpr wchar_t kMachineClasses[] = L"Software\\Classes\\";
constexpr wchar_t kChromeUninstall[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Google Chrome";
constexpr const wchar_t* kWebAssociations[] = {L"http", L".htm", L".html"};
constexpr DWORD kDisplayNameCapacity = 260;  // 520 bytes

// The per-user registrations come first; a per-machine installation must not
// pick up what only the installing user has.
struct RootOrder {
    const HKEY* begin() const { return kRoots + (scope == InstallScope::kPerMachine ? 1 : 0); }
    const HKEY* end() const { return kRoots + 2; }
    InstallScope scope;
    static inline const HKEY kRoots[2] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};
};

bool ReadDefaultValue(HKEY parent, const wchar_t* subkey, wchar_t* buffer, DWORD size) {
    RegistryKey key;
    if (key.Open(parent, subkey, KEY_READ) != ERROR_SUCCESS) return false;
    DWORD count = size;
    return key.ReadStringValue(nullptr, buffer, count) == ERROR_SUCCESS;
}

// The registered open command of one client under one root.
bool ReadOpenCommand(HKEY root, const wchar_t* clientId, wchar_t* buffer, DWORD size) {
    RegistryKey clients;
    RegistryKey client;
    RegistryKey command;
    if (clients.Open(root, kStartMenuInternet, KEY_READ) != ERROR_SUCCESS ||
        client.Open(clients.get(), clientId, KEY_READ) != ERROR_SUCCESS ||
        command.Open(client.get(), L"shell\\open\\command", KEY_READ) != ERROR_SUCCESS)
        return false;
    DWORD count = size;
    return command.ReadStringValue(nullptr, buffer, count) == ERROR_SUCCESS && buffer[0] != L'\0';
}

bool ResolveSpecialClient(wchar_t* buffer, InstallScope scope, const wchar_t* clientId, DWORD size) {
    const std::wstring id(clientId);
    if (id == custom_actions_core::kChromeClientId) return ReadChromePath(buffer, size);
    if (id == custom_actions_core::kInternetExplorerClientId) return ReadInternetExplorerPath(buffer, size, scope);
    return false;
}

// Appends a record unless the list already holds one of its kind; the first
// of a kind wins. A record that cannot be made or stored for lack of memory is
// dropped and discovery goes on.
void AddBrowser(custom_actions_core::BrowserList& list, const wchar_t* clientId, const wchar_t* displayName,
                BrowserKind kind) {
    if (custom_actions_core::HoldsKind(list, kind)) return;
    RunStep([&] { list.push_back(BrowserRecord{clientId, displayName, kind}); });
}

void CollectRegisteredBrowsers(HKEY root, InstallScope scope, custom_actions_core::BrowserList& list) {
    RegistryKey clients;
    if (clients.Open(root, kStartMenuInternet, KEY_READ) != ERROR_SUCCESS) return;
    for (const std::wstring& name : clients.SubkeyNames()) {
        const wchar_t* clientId = name.c_str();
        wchar_t displayName[kDisplayNameCapacity];
        if (!ReadDefaultValue(clients.get(), clientId, displayName, kDisplayNameCapacity)) continue;
        wchar_t path[kDiscoveryPathCapacity];
        if (!ResolveBrowserExecutable(path, scope, clientId, kDiscoveryPathCapacity)) continue;
        const BrowserKind kind = IdentifyBrowser(scope, path);
        if (kind == custom_actions_core::kNotRecognised) continue;
        AddBrowser(list, clientId, displayName, kind);
    }
}

}  // namespace

void ExpandInPlace(wchar_t* buffer, DWORD size) {
    const DWORD needed = ::ExpandEnvironmentStringsW(buffer, nullptr, 0);
    if (needed == 0 || needed >= size) return;
    const std::wstring original(buffer);
    ::ExpandEnvironmentStringsW(original.c_str(), buffer, size);
}

bool ReadInternetExplorerPath(wchar_t* buffer, DWORD size, InstallScope scope) {
    const bool read = scope == InstallScope::kPerMachine
                          ? ReadDefaultValue(HKEY_LOCAL_MACHINE,
                                             (std::wstring(kMachineClasses) + kInternetExplorerServer).c_str(), buffer,
                                             size)
                          : ReadDefaultValue(HKEY_CLASSES_ROOT, kInternetExplorerServer, buffer, size);
    if (!read) return false;
    ExpandInPlace(buffer, size);
    return true;
}

bool ReadMachineOpenCommand(const wchar_t* association, wchar_t* buffer, DWORD size) {
    // An extension names its class; a protocol or class holds its verbs itself.
    std::vector<wchar_t> className(size);
    std::wstring classes[] = {std::wstring(), association};
    if (association[0] == L'.' &&
        ReadDefaultValue(HKEY_LOCAL_MACHINE, (kMachineClasses + classes[1]).c_str(), className.data(), size))
        classes[0] = className.data();
    for (const std::wstring& name : classes) {
        if (name.empty()) continue;
        const std::wstring command = kMachineClasses + name + L"\\shell\\open\\command";
        if (ReadDefaultValue(HKEY_LOCAL_MACHINE, command.c_str(), buffer, size) && buffer[0] != L'\0') {
            ExpandInPlace(buffer, size);
            return true;
        }
    }
    buffer[0] = L'\0';
    return false;
}

bool ReadChromePath(wchar_t* buffer, DWORD size) {
    RegistryKey uninstall;
    if (uninstall.Open(HKEY_CURRENT_USER, kChromeUninstall, KEY_READ) != ERROR_SUCCESS) return false;
    DWORD count = size;
    if (uninstall.ReadStringValue(L"InstallLocation", buffer, count) != ERROR_SUCCESS) return false;
    const auto path = custom_actions_core::ComposeChromePath(buffer, size);
    if (!path || !custom_actions_core::StoreText(*path, buffer, size)) return false;
    ExpandInPlace(buffer, size);
    return IsExistingFile(buffer);
}

bool ResolveBrowserExecutable(wchar_t* buffer, InstallScope scope, const wchar_t* clientId, DWORD size) {
    if (clientId[0] == L'{') return ResolveSpecialClient(buffer, scope, clientId, size);
    bool read = false;
    for (HKEY root : RootOrder{scope}) {
        read = ReadOpenCommand(root, clientId, buffer, size);
        if (read) break;
    }
    if (!read) return false;
    // The executable is never longer than the command it came from.
    custom_actions_core::StoreText(custom_actions_core::ExtractExecutable(buffer), buffer, size);
    ExpandInPlace(buffer, size);
    return true;
}

bool LocateDefaultBrowser(wchar_t* buffer, InstallScope scope, DWORD size) {
    bool found = false;
    // No stop after a success: the machine-wide default, resolved last, stands.
    // The client id is read aside, so that a root without a default keeps the
    // path that an earlier root resolved.
    std::vector<wchar_t> clientId(size);
    for (HKEY root : RootOrder{scope}) {
        if (!ReadDefaultValue(root, kStartMenuInternet, clientId.data(), size) || clientId[0] == L'\0') continue;
        found = ResolveBrowserExecutable(buffer, scope, clientId.data(), size);
    }
    if (found) return true;
    if (ReadInternetExplorerPath(buffer, size, scope)) return true;
    // The shell's association is left for callers that take any executable,
    // but it is not the registered default browser. The shell's lookup merges
    // the user's classes in; a per-machine installation reads the machine's.
    for (const wchar_t* association : kWebAssociations) {
        if (scope == InstallScope::kPerMachine) {
            if (!ReadMachineOpenCommand(association, buffer, size)) continue;
            custom_actions_core::StoreText(custom_actions_core::ExtractExecutable(buffer), buffer, size);
            break;
        }
        DWORD count = size;
        if (SUCCEEDED(::AssocQueryStringW(0, ASSOCSTR_EXECUTABLE, association, L"open", buffer, &count))) break;
        buffer[0] = L'\0';
    }
    return false;
}

CollectedBrowsers CollectBrowsers(InstallScope scope) {
    CollectedBrowsers result;

    wchar_t internetExplorer[kDiscoveryPathCapacity];
    if (ReadInternetExplorerPath(internetExplorer, kDiscoveryPathCapacity, scope))
        AddBrowser(result.list, custom_actions_core::kInternetExplorerClientId, L"Internet Explorer",
                   custom_actions_core::kInternetExplorer);

    wchar_t defaultBrowser[kDiscoveryPathCapacity];
    if (LocateDefaultBrowser(defaultBrowser, scope, kDiscoveryPathCapacity)) {
        const BrowserKind host = IdentifyBrowser(scope, defaultBrowser);
        if (host != custom_actions_core::kNotRecognised) result.hostKind = host;
    }

    for (HKEY root : RootOrder{scope}) CollectRegisteredBrowsers(root, scope, result.list);

    // Chrome installed for this user alone has no Start-menu registration.
    wchar_t chrome[kDiscoveryPathCapacity];
    if (!custom_actions_core::HoldsKind(result.list, custom_actions_core::kChrome) &&
        ReadChromePath(chrome, kDiscoveryPathCapacity) &&
        IdentifyBrowser(scope, chrome) == custom_actions_core::kChrome)
        AddBrowser(result.list, custom_actions_core::kChromeClientId, L"Google Chrome", custom_actions_core::kChrome);

    // An unsorted list is still a list; the sort may need memory.
    RunStep([&] { custom_actions_core::SortByDisplayName(result.list); });
    return result;
}

}  // namespace custom_actions
