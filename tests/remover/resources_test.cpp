// The built meridremover.exe carries exactly the resources the program and its
// users rely on: read back from the file, not from the resource script.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/unique_resource.h"
#include "tests/support/file_fixture.h"

namespace {

using testsupport::FixturePath;

platform::UniqueModule LoadRemoverAsData() {
    return platform::UniqueModule(
        ::LoadLibraryExA(FixturePath("meridremover.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
}

std::vector<unsigned char> ResourceBytes(HMODULE module, LPCSTR type, LPCSTR name) {
    HRSRC found = ::FindResourceA(module, name, type);
    if (!found) return {};
    HGLOBAL loaded = ::LoadResource(module, found);
    const auto* data = static_cast<const unsigned char*>(::LockResource(loaded));
    return std::vector<unsigned char>(data, data + ::SizeofResource(module, found));
}

// Reads a dialog template field by field.
class TemplateReader {
public:
    explicit TemplateReader(const std::vector<unsigned char>& bytes) : bytes_(bytes) {}
    template <class T>
    T Read() {
        T value{};
        if (pos_ + sizeof(T) <= bytes_.size()) std::memcpy(&value, &bytes_[pos_], sizeof(T));
        pos_ += sizeof(T);
        return value;
    }
    // A string or an ordinal ("#n").
    std::string ReadSzOrOrd() {
        const WORD first = Read<WORD>();
        if (first == 0xFFFF) return "#" + std::to_string(Read<WORD>());
        std::string text;
        for (WORD c = first; c != 0; c = Read<WORD>()) text += static_cast<char>(c);
        return text;
    }
    void AlignDword() { pos_ = (pos_ + 3) & ~size_t{3}; }

private:
    const std::vector<unsigned char>& bytes_;
    size_t pos_ = 0;
};

struct Item {
    DWORD style;
    short x, y, cx, cy;
    DWORD id;
    std::string windowClass;
    std::string title;
};

TEST(RemoverResources, ConfirmationDialogTemplate) {
    auto module = LoadRemoverAsData();
    ASSERT_TRUE(module);
    const auto bytes = ResourceBytes(module.get(), MAKEINTRESOURCEA(5) /* RT_DIALOG */, MAKEINTRESOURCEA(101));
    ASSERT_FALSE(bytes.empty());
    TemplateReader in(bytes);
    EXPECT_EQ(in.Read<WORD>(), 1);       // dlgVer
    EXPECT_EQ(in.Read<WORD>(), 0xFFFF);  // extended template
    in.Read<DWORD>();                    // helpID
    EXPECT_EQ(in.Read<DWORD>(), 0u);     // exStyle
    EXPECT_EQ(in.Read<DWORD>(),
              static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT));
    const WORD count = in.Read<WORD>();
    EXPECT_EQ(in.Read<short>(), 0);
    EXPECT_EQ(in.Read<short>(), 0);
    EXPECT_EQ(in.Read<short>(), 230);
    EXPECT_EQ(in.Read<short>(), 66);
    EXPECT_EQ(in.ReadSzOrOrd(), "");  // no menu
    EXPECT_EQ(in.ReadSzOrOrd(), "");  // default dialog class
    EXPECT_EQ(in.ReadSzOrOrd(), "Meridel Remover");
    EXPECT_EQ(in.Read<WORD>(), 8);      // points
    EXPECT_EQ(in.Read<WORD>(), 400);    // normal weight
    EXPECT_EQ(in.Read<BYTE>(), 0);      // not italic
    in.Read<BYTE>();                    // character set
    EXPECT_EQ(in.ReadSzOrOrd(), "MS Sans Serif");

    const DWORD child = WS_CHILD | WS_VISIBLE;
    const Item expected[] = {
        {child | WS_TABSTOP | BS_PUSHBUTTON, 173, 45, 50, 14, IDCANCEL, "#128", "Cancel"},
        {child | WS_TABSTOP | BS_DEFPUSHBUTTON, 117, 45, 50, 14, IDOK, "#128", "OK"},
        {child | SS_ICON, 19, 10, 21, 20, 0xFFFFFFFF, "#130", "#32515"},
        {child | WS_GROUP | SS_LEFT, 57, 7, 166, 11, 0xFFFFFFFF, "#130",
         "This program deletes all the Meridel components."},
        {child | WS_GROUP | SS_LEFT, 57, 20, 164, 9, 0xFFFFFFFF, "#130", "Press OK to remove Meridel."},
    };
    ASSERT_EQ(count, std::size(expected));
    for (const Item& e : expected) {
        SCOPED_TRACE(e.title);
        in.AlignDword();
        in.Read<DWORD>();  // helpID
        EXPECT_EQ(in.Read<DWORD>(), 0u);
        EXPECT_EQ(in.Read<DWORD>(), e.style);
        EXPECT_EQ(in.Read<short>(), e.x);
        EXPECT_EQ(in.Read<short>(), e.y);
        EXPECT_EQ(in.Read<short>(), e.cx);
        EXPECT_EQ(in.Read<short>(), e.cy);
        EXPECT_EQ(in.Read<DWORD>(), e.id);
        EXPECT_EQ(in.ReadSzOrOrd(), e.windowClass);
        EXPECT_EQ(in.ReadSzOrOrd(), e.title);
        const WORD extra = in.Read<WORD>();
        for (WORD i = 0; i < extra; ++i) in.Read<BYTE>();
    }
}

TEST(RemoverResources, StringTable) {
    auto module = LoadRemoverAsData();
    ASSERT_TRUE(module);
    const std::pair<UINT, const char*> strings[] = {
        {101, "Software\\Halvorix\\Meridel\\2.1"},
        {102, "Meridel3D Viewer has been removed from your system. If you wish to return to the previous version, "
              "you will have to re-install it. Please note that some Halvorix products require Meridel components."},
        {104, "Please restart your computer to completly remove Meridel."},
    };
    for (const auto& [id, text] : strings) {
        SCOPED_TRACE(id);
        char buffer[1024] = {};
        EXPECT_GT(::LoadStringA(module.get(), id, buffer, sizeof(buffer)), 0);
        EXPECT_STREQ(buffer, text);
    }
    char none[16] = {};
    EXPECT_EQ(::LoadStringA(module.get(), 103, none, sizeof(none)), 0);
}

TEST(RemoverResources, ApplicationIconGroup) {
    auto module = LoadRemoverAsData();
    ASSERT_TRUE(module);
    const auto bytes = ResourceBytes(module.get(), MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */, MAKEINTRESOURCEA(128));
    ASSERT_GE(bytes.size(), 6u + 3 * 14);
    EXPECT_EQ(bytes[4] | (bytes[5] << 8), 3);  // three images
    struct Image {
        int width, height, colours, bitCount;
    };
    const Image expected[] = {{32, 32, 16, 4}, {32, 32, 0, 8}, {16, 16, 16, 4}};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const unsigned char* entry = &bytes[6 + 14 * i];
        EXPECT_EQ(entry[0], expected[i].width);
        EXPECT_EQ(entry[1], expected[i].height);
        EXPECT_EQ(entry[2], expected[i].colours);
        EXPECT_EQ(entry[6] | (entry[7] << 8), expected[i].bitCount);
    }
}

// Common controls 6, and the highest rights the user has: an unelevated
// 32-bit run would be virtualized and report removals that never happened.
TEST(RemoverResources, Manifest) {
    auto module = LoadRemoverAsData();
    ASSERT_TRUE(module);
    const auto bytes = ResourceBytes(module.get(), MAKEINTRESOURCEA(24) /* RT_MANIFEST */, MAKEINTRESOURCEA(1));
    const std::string manifest(bytes.begin(), bytes.end());
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos)
        << manifest;
    EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"highestAvailable\" uiAccess=\"false\"/>"),
              std::string::npos)
        << manifest;
}

// The manifest must resolve: an activation context built from it redirects
// comctl32.dll to the side-by-side version 6 assembly.
TEST(RemoverResources, ManifestBindsCommonControlsVersion6) {
    const std::string path = FixturePath("meridremover.exe");
    ACTCTXA context{};
    context.cbSize = sizeof(context);
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = path.c_str();
    context.lpResourceName = MAKEINTRESOURCEA(1);
    HANDLE activation = ::CreateActCtxA(&context);
    ASSERT_NE(activation, INVALID_HANDLE_VALUE) << ::GetLastError();
    ULONG_PTR cookie = 0;
    ASSERT_TRUE(::ActivateActCtx(activation, &cookie));
    ACTCTX_SECTION_KEYED_DATA data{};
    data.cbSize = sizeof(data);
    EXPECT_TRUE(::FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, L"comctl32.dll",
                                           &data));
    ::DeactivateActCtx(0, cookie);
    ::ReleaseActCtx(activation);
}

TEST(RemoverResources, VersionResource) {
    const std::string path = FixturePath("meridremover.exe");
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(::GetFileVersionInfoA(path.c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00020000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000011u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00020000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000011u);
    WORD* translation = nullptr;
    ASSERT_TRUE(::VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                                 &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 1200);
    const std::pair<const char*, const char*> strings[] = {
        {"FileDescription", "Meridel Remover"}, {"ProductName", "Meridel3D Viewer"},
        {"InternalName", "meridremover"},       {"OriginalFilename", "meridremover.exe"},
        {"CompanyName", "Halvorix"},            {"FileVersion", "2, 0, 0, 17"},
        {"ProductVersion", "2, 0, 0, 17"},
    };
    for (const auto& [name, text] : strings) {
        SCOPED_TRACE(name);
        char* value = nullptr;
        ASSERT_TRUE(::VerQueryValueA(info.data(), (std::string("\\StringFileInfo\\040904b0\\") + name).c_str(),
                                     reinterpret_cast<void**>(&value), &length));
        EXPECT_STREQ(value, text);
    }
}

}  // namespace
