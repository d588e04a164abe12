#include "custom_actions/core/opera_settings_text.h"

#include <gtest/gtest.h>

namespace custom_actions_core {
namespace {

TEST(OperaSettingsFiles, ProgramFolderAndProfile) {
    EXPECT_EQ(L"C:\\Opera\\opera6def.ini", ProgramFolderSettingsFile(L"C:\\Opera\\opera.exe"));
    EXPECT_EQ(L"\\opera6def.ini", ProgramFolderSettingsFile(L"\\opera.exe"));
    EXPECT_FALSE(ProgramFolderSettingsFile(L"opera.exe"));
    EXPECT_EQ(L"C:\\AppData\\Opera\\Opera\\profile\\opera6.ini", ProfileSettingsFile(L"C:\\AppData"));
    EXPECT_EQ(L"C:\\Opera\\Opera\\profile\\opera6.ini", ProfileSettingsFile(L"C:\\"));
    EXPECT_FALSE(ProfileSettingsFile(L""));
    // "opera6def.ini" is 13 characters: 2034 + 13 + terminator is 2048.
    EXPECT_TRUE(ProgramFolderSettingsFile(std::wstring(2033, L'o') + L"\\opera.exe"));
    EXPECT_FALSE(ProgramFolderSettingsFile(std::wstring(2034, L'o') + L"\\opera.exe"));
}

TEST(OperaSettingsValue, ModulePathVersionSuffixAndFit) {
    EXPECT_EQ(L"C:\\Meridel\\npMeridel.dll", PlugInModulePath(L"C:\\Meridel\\"));
    EXPECT_EQ(L"C:\\MeridelnpMeridel.dll", PlugInModulePath(L"C:\\Meridel"));
    EXPECT_EQ(L" (6, 0, 1, 23)", VersionSuffix(0x00060000, 0x00010017));
    EXPECT_EQ(L" (65535, 65535, 0, 1)", VersionSuffix(0xFFFFFFFF, 0x00000001));
    const std::wstring tail = L",Meridel3D Viewer,wrl,vrml,wrz|Meridel Netscape Browser Plug-In";
    EXPECT_EQ(L"6,,C:\\M\\npMeridel.dll" + tail + L" (6, 0, 1, 23)",
              OperaFileTypeValue(L"C:\\M\\npMeridel.dll", L" (6, 0, 1, 23)"));
    EXPECT_EQ(L"6,,m" + tail, OperaFileTypeValue(L"m", L""));
    const std::size_t frame = 3 + tail.size();
    EXPECT_TRUE(OperaFileTypeValue(std::wstring(2047 - frame, L'm'), L""));
    EXPECT_FALSE(OperaFileTypeValue(std::wstring(2048 - frame, L'm'), L""));
    // A control character would break a settings line: no value at all.
    for (const wchar_t* path :
         {L"C:\\M\r\n[Evil]\\np.dll", L"C:\\M\n\\np.dll", L"C:\\M\t\\np.dll", L"C:\\M\x7F\\np.dll"})
        EXPECT_FALSE(OperaFileTypeValue(path, L""));
}

TEST(OperaSettingsEntries, ThreeTypesThenThreeExtensions) {
    std::wstring text;
    for (const auto& e : OperaEntries())
        text += std::wstring(e.section) + L":" + e.key + (e.fileType ? L"=type" : L"=ext") + L";";
    EXPECT_EQ(L"File Types:model/vrml=type;File Types:x-world/x-vrml=type;File Types:application/x-meridel=type;"
              L"File Types Extension:model/vrml=ext;File Types Extension:x-world/x-vrml=ext;"
              L"File Types Extension:application/x-meridel=ext;",
              text);
}

}  // namespace
}  // namespace custom_actions_core
