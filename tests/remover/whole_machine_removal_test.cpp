// One machine with every trace the sweeps and the plug-in cleanup know of,
// and bystanders beside each, removed by "meridremover.exe /s" as a process.
#include <gtest/gtest.h>

#include "tests/fixtures/uninstaller/run_record.h"
#include "tests/support/file_fixture.h"
#include "tests/support/machine_fixture.h"
#include "tests/support/process_fixture.h"
#include "tests/support/product_fixture.h"
#include "tests/support/registry_fixture.h"

namespace remover {
namespace {

using namespace testsupport;

constexpr char kUnitsKey[] = "SOFTWARE\\Microsoft\\Code Store Database\\Distribution Units";
constexpr char kOtherUnit[] = "{0A1B2C3D-0000-4000-8000-00000000AB02}";
constexpr char kOperaKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Opera.exe";
constexpr char kOurPluginEntry[] = "SOFTWARE\\MozillaPlugins\\@halvorix.com/Meridel";
constexpr char kOtherPluginEntry[] = "SOFTWARE\\MozillaPlugins\\@example.org/Viewer";


// With and without the product key: every sweep but the key's own runs either way.
class WholeMachine : public ::testing::TestWithParam<bool> {
protected:
    WholeMachine()
        : common_(CommonFilesProductFolder()),
          appData_(AppDataProductFolder()),
          halvorix_(common_.substr(0, common_.rfind('\\'))),
          temp_("whole machine"),
          commonFolder_(halvorix_),
          appDataFolder_(appData_.substr(0, appData_.rfind('\\'))),
          product_(ProductRegistryPlaces()),
          places_({{HKEY_CURRENT_USER, kUninstallKey},
                   {HKEY_LOCAL_MACHINE, kUninstallKeyRegistered},
                   {HKEY_CURRENT_USER, old_uninstaller::kRecordKey},
                   {HKEY_LOCAL_MACHINE, kOperaKey},
                   {HKEY_LOCAL_MACHINE, kOurPluginEntry},
                   {HKEY_LOCAL_MACHINE, kOtherPluginEntry}}),
          newKeys_({{HKEY_CURRENT_USER, kSharedDllsKey},
                    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Code Store Database"},
                    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Mozilla"},
                    {HKEY_LOCAL_MACHINE, "SOFTWARE\\mozilla.org"},
                    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Netscape"},
                    {HKEY_LOCAL_MACHINE, "SOFTWARE\\MozillaPlugins"}}) {}

    std::string T(const std::string& relative) const { return temp_.path() + "\\" + relative; }

    void Product(HKEY root, const std::string& path, const char* name, const std::string& value) {
        SetString(root, path, name, value);
        traces_.push_back({root, path, name});
    }
    void Bystander(HKEY root, const std::string& path, const char* name, const std::string& value) {
        SetString(root, path, name, value);
        bystanders_.push_back({root, path, name});
    }

    struct Value {
        HKEY root;
        std::string path;
        std::string name;
    };

    std::string common_, appData_, halvorix_;
    ScopedTempFolder temp_;
    ScopedFolderCleanup commonFolder_;
    ScopedFolderCleanup appDataFolder_;
    ScopedRegistryCleanup product_;
    ScopedRegistryCleanup places_;
    ScopedNewKeys newKeys_;
    std::vector<Value> traces_;
    std::vector<Value> bystanders_;
    std::vector<std::string> removedFiles_;
    std::vector<std::string> keptFiles_;
};

TEST_P(WholeMachine, SilentRemovalTakesEveryTraceAndSparesTheRest) {
    // Shared-DLL entries in both hives.
    const std::vector<std::string> productDlls = {common_ + "\\engine.dll", appData_ + "\\cache.dat"};
    const std::vector<std::string> otherDlls = {halvorix_ + "\\Meridel Tools\\x.dll", halvorix_ + "\\Meridel2.dll",
                                                common_};
    std::vector<std::string> allDlls = productDlls;
    allDlls.insert(allDlls.end(), otherDlls.begin(), otherDlls.end());
    const std::string firefoxModule = T("Firefox\\Program\\Plugins\\npMeridel.dll");
    allDlls.push_back(firefoxModule);
    ScopedValues userDlls(HKEY_CURRENT_USER, kSharedDllsKey, allDlls);
    ScopedValues machineDlls(HKEY_LOCAL_MACHINE, kSharedDllsKey, allDlls);
    for (HKEY hive : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        for (const auto& name : productDlls) Product(hive, kSharedDllsKey, name.c_str(), "");
        for (const auto& name : otherDlls) Bystander(hive, kSharedDllsKey, name.c_str(), "");
    }
    Product(HKEY_LOCAL_MACHINE, kSharedDllsKey, firefoxModule.c_str(), "");
    for (const auto& f : productDlls) ASSERT_TRUE(WriteFile(f));
    for (const auto& f : {otherDlls[0], otherDlls[1]}) {
        ASSERT_TRUE(WriteFile(f));
        keptFiles_.push_back(f);
    }

    // An old uninstaller per hive: the first key name with a quoted program in
    // one, the registered-sign name with an unquoted program with blanks in the other.
    // Below Common Files: an elevated run starts a per-user uninstaller only from there or Program Files.
    const std::string userUninstaller = halvorix_ + "\\Old One\\uninst.exe";
    const std::string machineUninstaller = T("Old Two\\uninst.exe");
    ASSERT_TRUE(CopyFileTo(FixturePath(old_uninstaller::kFileName), userUninstaller));
    ASSERT_TRUE(CopyFileTo(FixturePath(old_uninstaller::kFileName), machineUninstaller));
    SetString(HKEY_CURRENT_USER, kUninstallKey, "UninstallString", "\"" + userUninstaller + "\" -u");
    SetString(HKEY_LOCAL_MACHINE, kUninstallKeyRegistered, "UninstallString", machineUninstaller + " -x");

    // Download-cache records: one listing files, one without "Contains\Files".
    const std::vector<std::string> ids = ComponentClassIds();
    ScopedRegistryCleanup units({{HKEY_LOCAL_MACHINE, std::string(kUnitsKey) + "\\" + ids[0]},
                                 {HKEY_LOCAL_MACHINE, std::string(kUnitsKey) + "\\" + ids[1]},
                                 {HKEY_LOCAL_MACHINE, std::string(kUnitsKey) + "\\" + kOtherUnit}});
    const std::string control = T("Downloaded Program Files\\control.ocx");
    const std::string otherControl = T("Downloaded Program Files\\other.ocx");
    Product(HKEY_LOCAL_MACHINE, std::string(kUnitsKey) + "\\" + ids[0] + "\\Contains\\Files", control.c_str(), "");
    Product(HKEY_LOCAL_MACHINE, std::string(kUnitsKey) + "\\" + ids[1], "InstalledVersion", "2,1,0,0");
    Bystander(HKEY_LOCAL_MACHINE, std::string(kUnitsKey) + "\\" + kOtherUnit + "\\Contains\\Files",
              otherControl.c_str(), "");
    removedFiles_.push_back(control);
    keptFiles_.push_back(otherControl);

    // "Render", three levels deep; only lower-case "path" names a module.
    const std::string render = std::string(kProductKey) + "\\Render";
    const struct {
        std::string key;
        const char* name;
        const char* file;
        bool removed;
    } renderValues[] = {
        {render, "path", "render.dll", true},
        {render + "\\OpenGL", "DllPath", "gl.dll", false},
        {render + "\\OpenGL\\Shaders", "path", "shaders.dll", true},
        {render + "\\OpenGL\\Legacy", "Path", "legacy.dll", false},
    };
    for (const auto& v : renderValues) {
        if (!GetParam()) break;  // no product key
        Product(HKEY_LOCAL_MACHINE, v.key, v.name, T(v.file));
        (v.removed ? removedFiles_ : keptFiles_).push_back(T(v.file));
    }

    // Browsers: Firefox with a "Program" folder, Mozilla and Netscape without, Opera.
    const struct {
        const char* key;
        const char* version;
        const char* folder;
        bool program;
    } browsers[] = {
        {"SOFTWARE\\Mozilla\\Mozilla Firefox", "3.6 (en-US)", "Firefox", true},
        {"SOFTWARE\\mozilla.org\\Mozilla", "1.7.13", "Mozilla", false},
        {"SOFTWARE\\Netscape\\Netscape", "9.0.0.6", "Netscape\\", false},
    };
    for (const auto& b : browsers) {
        SetString(HKEY_LOCAL_MACHINE, b.key, "CurrentVersion", b.version);
        SetString(HKEY_LOCAL_MACHINE, std::string(b.key) + "\\" + b.version + "\\main", "Install Directory",
                  T(b.folder));
        std::string base = T(b.folder);
        if (base.back() != '\\') base += '\\';
        const std::string plugins = base + (b.program ? "Program\\Plugins\\" : "Plugins\\");
        for (const auto& f : {plugins + "npMeridel.dll", plugins + "lattice.jar", base + "Components\\npMeridel.xpt"})
            removedFiles_.push_back(f);
        keptFiles_.push_back(plugins + "npOther.dll");
    }
    SetString(HKEY_LOCAL_MACHINE, kOperaKey, "Path", T("Opera"));
    for (const char* f : {"Opera\\PlugIns\\npMeridel.dll", "Opera\\PlugIns\\lattice.jar",
                          "Opera\\Program\\PlugIns\\npMeridel.dll", "Opera\\Program\\PlugIns\\lattice.jar"})
        removedFiles_.push_back(T(f));
    keptFiles_.push_back(T("Opera\\Program\\PlugIns\\npOther.dll"));
    Product(HKEY_LOCAL_MACHINE, kOurPluginEntry, "Path", firefoxModule);
    Product(HKEY_LOCAL_MACHINE, std::string(kOurPluginEntry) + "\\MimeTypes\\model/vrml", "Description", "VRML");
    Bystander(HKEY_LOCAL_MACHINE, kOtherPluginEntry, "Path", "C:\\elsewhere\\npviewer.dll");

    for (const auto& f : removedFiles_) ASSERT_TRUE(WriteFile(f));
    for (const auto& f : keptFiles_) ASSERT_TRUE(WriteFile(f));
    ClearUninstallerRuns();

    ASSERT_EQ(RunRemover("/s"), 0u);

    for (const Value& v : traces_) {
        SCOPED_TRACE(v.path + " | " + v.name);
        EXPECT_FALSE(ValueExists(v.root, v.path, v.name.c_str()));
    }
    for (const Value& v : bystanders_) {
        SCOPED_TRACE(v.path + " | " + v.name);
        EXPECT_TRUE(ValueExists(v.root, v.path, v.name.c_str()));
    }
    for (const auto& f : removedFiles_) EXPECT_FALSE(FileExists(f)) << f;
    for (const auto& f : keptFiles_) EXPECT_TRUE(FileExists(f)) << f;
    for (const auto& key : {std::string(kUnitsKey) + "\\" + ids[0], std::string(kUnitsKey) + "\\" + ids[1], render,
                            std::string(kOurPluginEntry), std::string(kProductKey)})
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, key)) << key;
    EXPECT_EQ(KeyExists(HKEY_LOCAL_MACHINE, kProductParentKey), GetParam());
    EXPECT_FALSE(FolderExists(common_) || FolderExists(appData_));

    // The user's uninstaller ran first, then the machine's, after it had ended;
    // the user's command's own arguments never reach the elevated run's start.
    const auto runs = ReadUninstallerRuns();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(ArgumentsAfterProgram(runs[0].commandLine, userUninstaller), " /S /U");
    EXPECT_EQ(ArgumentsAfterProgram(runs[1].commandLine, machineUninstaller), " /S /U -x");
    EXPECT_GE(runs[1].start, runs[0].end);
}

INSTANTIATE_TEST_SUITE_P(ProductKey, WholeMachine, ::testing::Bool());

}  // namespace
}  // namespace remover
