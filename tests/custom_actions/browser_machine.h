#pragma once
// A prepared machine for the browser tests: fixture programs installed under
// browser names, Start-menu registrations, Chrome's per-user entry, the
// Netscape-family keys and Internet Explorer's class. Everything it touches is
// cleared when it is made and restored or removed when it goes.
#include <windows.h>

#include <optional>
#include <string>

namespace browsertest {

std::wstring ProgramFilesFolder();    // C:\Program Files, or Program Files (x86) under WoW64
// Wine's Internet Explorer as this process's registry view names it.
std::wstring InternetExplorerProgram();
std::wstring LocalAppDataFolder();    // the user's local application data
std::wstring RoamingAppDataFolder();  // the user's roaming application data
std::string Narrow(const std::wstring& text);

// Internet Explorer's automation server key below HKEY_CLASSES_ROOT.
extern const wchar_t kInternetExplorerServerKey[];

class BrowserMachine {
public:
    BrowserMachine();
    ~BrowserMachine();
    BrowserMachine(const BrowserMachine&) = delete;
    BrowserMachine& operator=(const BrowserMachine&) = delete;

    // Copies bin/<fixture>.exe to <Program Files>\Meridel Browsers\<relative>
    // and returns the full path.
    std::wstring InstallMachineWide(const std::string& fixture, const std::wstring& relative);
    // The same below <local application data>\Meridel Browsers.
    std::wstring InstallForUser(const std::string& fixture, const std::wstring& relative);
    // Copies a fixture to any path (folders created); removed at the end only
    // when below one of the two folders above or Roaming\Opera.
    static void CopyFixture(const std::string& fixture, const std::wstring& path);

    // Software\Clients\StartMenuInternet\<clientId> with its display name and
    // open command; a null display name leaves the default value out.
    void RegisterClient(HKEY root, const std::wstring& clientId, const wchar_t* displayName,
                        const std::wstring& command);
    // The Start-menu default browser of that root.
    void SetDefaultClient(HKEY root, const std::wstring& clientId);
    // Chrome's per-user uninstall entry.
    void SetChromeInstallLocation(const std::wstring& folder);
    // Software\<browserKey> with CurrentVersion and <version>\Main\Install Directory.
    void RegisterNetscapeFamily(const std::wstring& browserKey, const std::wstring& version,
                                const std::wstring& installDirectory);

    // Internet Explorer's class: replaced, or removed, until the end.
    void SetInternetExplorerServer(const std::wstring& command);
    void RemoveInternetExplorerClass();

private:
    void Clear();
    std::optional<std::wstring> originalServer_;
};

}  // namespace browsertest
