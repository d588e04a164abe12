// Browser plug-in cleanup against seeded browser registrations and folders:
// the Netscape-family folders (with and without "Program"), Opera's four
// paths and the product's Mozilla plug-in entry. A browser whose registration
// is incomplete is passed over without sparing the others.
#include <gtest/gtest.h>

#include <iterator>

#include "remover/engine/browser_plugins.h"
#include "remover/engine/machine_places.h"
#include "tests/support/file_fixture.h"
#include "tests/support/machine_fixture.h"
#include "tests/support/registry_fixture.h"

namespace remover {
namespace {

using namespace testsupport;

constexpr char kOperaKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Opera.exe";
constexpr char kPluginsKey[] = "SOFTWARE\\MozillaPlugins";
constexpr char kOurEntry[] = "SOFTWARE\\MozillaPlugins\\@halvorix.com/Meridel";
constexpr char kOtherEntry[] = "SOFTWARE\\MozillaPlugins\\@example.org/Viewer";

struct Browser {
    const char* key;
    const char* version;
    const char* folder;  // below the test folder; a trailing backslash is kept
    bool programFolder;
};
const Browser kBrowsers[] = {
    {"SOFTWARE\\Mozilla\\Mozilla Firefox", "3.6 (en-US)", "Firefox", true},
    {"SOFTWARE\\mozilla.org\\Mozilla", "1.7.13", "Mozilla\\", false},
    {"SOFTWARE\\Netscape\\Netscape", "9.0.0.6", "Netscape", false},
    {"SOFTWARE\\Netscape\\Netscape 6", "6.2.3", "Netscape 6", true},
    {"SOFTWARE\\Netscape\\Netscape Navigator", "4.8", "Navigator\\", false},
};

enum class Gap { None, NoInstallDirectory, NoMainKey, NoCurrentVersion };

class BrowserPlugins : public ::testing::Test {
protected:
    BrowserPlugins()
        : folder_("browser plugins"),
          newKeys_({{HKEY_LOCAL_MACHINE, "SOFTWARE\\Mozilla"},
                    {HKEY_LOCAL_MACHINE, "SOFTWARE\\mozilla.org"},
                    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Netscape"},
                    {HKEY_LOCAL_MACHINE, kPluginsKey}}),
          keys_({{HKEY_LOCAL_MACHINE, kOperaKey}, {HKEY_LOCAL_MACHINE, kOurEntry}, {HKEY_LOCAL_MACHINE, kOtherEntry}}) {}

    std::string In(const std::string& relative) const { return folder_.path() + "\\" + relative; }

    // Registers the browser; its plug-in files are written and returned.
    std::vector<std::string> Install(const Browser& b, Gap gap) {
        DeleteTree(HKEY_LOCAL_MACHINE, b.key);
        if (gap != Gap::NoCurrentVersion) SetString(HKEY_LOCAL_MACHINE, b.key, "CurrentVersion", b.version);
        const std::string main = std::string(b.key) + "\\" + b.version + "\\main";
        const std::string dir = In(b.folder);
        if (gap == Gap::None || gap == Gap::NoCurrentVersion)
            SetString(HKEY_LOCAL_MACHINE, main, "Install Directory", dir);
        else if (gap == Gap::NoInstallDirectory)
            SetString(HKEY_LOCAL_MACHINE, main, "PathToExe", dir + "\\browser.exe");
        const std::string base = dir.back() == '\\' ? dir : dir + "\\";
        const std::string plugins = base + (b.programFolder ? "Program\\Plugins\\" : "Plugins\\");
        std::vector<std::string> files = {plugins + "npMeridel.dll", plugins + "lattice.jar",
                                          base + "Components\\npMeridel.xpt"};
        for (const auto& f : files) EXPECT_TRUE(WriteFile(f));
        return files;
    }

    ScopedTempFolder folder_;
    ScopedNewKeys newKeys_;
    ScopedRegistryCleanup keys_;
};

TEST_F(BrowserPlugins, AnIncompleteBrowserSkipsOnlyItself) {
    struct Case {
        size_t gapAt;
        Gap gap;
    };
    const Case cases[] = {
        {5, Gap::None},
        {0, Gap::NoInstallDirectory},
        {1, Gap::NoInstallDirectory},
        {2, Gap::NoInstallDirectory},
        {3, Gap::NoInstallDirectory},
        {4, Gap::NoInstallDirectory},
        {2, Gap::NoMainKey},
        {3, Gap::NoCurrentVersion},
    };
    // Gathered once, as a run does: each case is a run of its own.
    const auto places = std::make_shared<const MachinePlaces>(GatherMachinePlaces());
    for (const Case& c : cases) {
        SCOPED_TRACE("browser " + std::to_string(c.gapAt) + " gap " + std::to_string(static_cast<int>(c.gap)));
        std::vector<std::string> removed;
        std::vector<std::string> kept;
        for (size_t i = 0; i < std::size(kBrowsers); ++i) {
            const auto files = Install(kBrowsers[i], i == c.gapAt ? c.gap : Gap::None);
            (i == c.gapAt ? kept : removed).insert((i == c.gapAt ? kept : removed).end(), files.begin(),
                                                   files.end());
        }
        // Files the product did not put there stay, even in its folders.
        kept.push_back(In("Firefox\\Program\\Plugins\\npOther.dll"));
        kept.push_back(In("Opera\\PlugIns\\npOther.dll"));
        const std::string opera = In("Opera");
        SetString(HKEY_LOCAL_MACHINE, kOperaKey, "Path", opera);
        for (const char* f : {"\\PlugIns\\npMeridel.dll", "\\PlugIns\\lattice.jar", "\\Program\\PlugIns\\npMeridel.dll",
                              "\\Program\\PlugIns\\lattice.jar"})
            removed.push_back(opera + f);
        for (const auto& f : removed) ASSERT_TRUE(WriteFile(f));
        for (const auto& f : kept) ASSERT_TRUE(WriteFile(f));
        SetString(HKEY_LOCAL_MACHINE, kOurEntry, "Path", In("Firefox\\Program\\Plugins\\npMeridel.dll"));
        SetString(HKEY_LOCAL_MACHINE, std::string(kOurEntry) + "\\MimeTypes\\model/vrml", "Description", "VRML");
        SetString(HKEY_LOCAL_MACHINE, kOtherEntry, "Path", "C:\\elsewhere\\npviewer.dll");

        RemovalContext context;
        context.places = places;
        CleanBrowserPlugins(context);

        for (const auto& f : removed) EXPECT_FALSE(FileExists(f)) << f;
        for (const auto& f : kept) EXPECT_TRUE(FileExists(f)) << f;
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kOurEntry));
        EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kOtherEntry, "Path"));
    }
}

TEST_F(BrowserPlugins, WithoutBrowsersOnlyThePluginEntryGoes) {
    for (const Browser& b : kBrowsers) DeleteTree(HKEY_LOCAL_MACHINE, b.key);
    const std::string stray = In("Plugins\\npMeridel.dll");
    ASSERT_TRUE(WriteFile(stray));
    SetString(HKEY_LOCAL_MACHINE, kOurEntry, "Version", "2.1");

    RemovalContext context;
    CleanBrowserPlugins(context);

    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kOurEntry));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kPluginsKey));
    EXPECT_TRUE(FileExists(stray));
}

}  // namespace
}  // namespace remover
