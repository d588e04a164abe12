#include "remover/core/plugin_paths.h"

#include <gtest/gtest.h>

namespace remover_core {
namespace {

using Files = std::vector<std::string>;

TEST(NetscapePluginFiles, FollowTheInstallFolderAndProgramRule) {
    struct Case {
        const char* installDirectory;
        bool hasProgramFolder;
        Files expected;
    };
    const Case cases[] = {
        {"C:\\Firefox", false,
         {"C:\\Firefox\\Plugins\\npMeridel.dll", "C:\\Firefox\\Plugins\\lattice.jar",
          "C:\\Firefox\\Components\\npMeridel.xpt"}},
        {"C:\\Firefox\\", false,
         {"C:\\Firefox\\Plugins\\npMeridel.dll", "C:\\Firefox\\Plugins\\lattice.jar",
          "C:\\Firefox\\Components\\npMeridel.xpt"}},
        // Only the plug-ins folder moves below "Program".
        {"C:\\Netscape", true,
         {"C:\\Netscape\\Program\\Plugins\\npMeridel.dll", "C:\\Netscape\\Program\\Plugins\\lattice.jar",
          "C:\\Netscape\\Components\\npMeridel.xpt"}},
        {"", false, {"\\Plugins\\npMeridel.dll", "\\Plugins\\lattice.jar", "\\Components\\npMeridel.xpt"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.installDirectory);
        EXPECT_EQ(NetscapePluginFiles(c.installDirectory, c.hasProgramFolder), c.expected);
    }
}

TEST(ProgramFolder, HangsOffTheInstallFolder) {
    EXPECT_EQ(ProgramFolder("C:\\Firefox"), "C:\\Firefox\\Program");
    EXPECT_EQ(ProgramFolder("C:\\Firefox\\"), "C:\\Firefox\\Program");
}

TEST(OperaPluginFiles, AppendToThePathAsItIs) {
    EXPECT_EQ(OperaPluginFiles("C:\\Opera"),
              (Files{"C:\\Opera\\PlugIns\\npMeridel.dll", "C:\\Opera\\PlugIns\\lattice.jar",
                     "C:\\Opera\\Program\\PlugIns\\npMeridel.dll", "C:\\Opera\\Program\\PlugIns\\lattice.jar"}));
    EXPECT_EQ(OperaPluginFiles("C:\\Opera\\").front(), "C:\\Opera\\\\PlugIns\\npMeridel.dll");
}

}  // namespace
}  // namespace remover_core
