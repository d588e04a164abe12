#pragma once
// Meridel's own identity, held once: the component table with its class
// identifiers, the file types, extensions and content types, the plug-in's
// names. The remover, the custom actions, Opera's settings text, the stand-in
// component modules and the installation package are all built from this file
// (CMake reads the MERIDEL_* lines below, so keep one entry per line and plain
// string literals only). No Windows header: the native build uses it too.
#include <cstddef>
#include <cstdint>

// X(row, stand-in module name, moduleSubkey, moduleValueName, classId); ""
// means none. The stand-in module name is the file the package installs for
// the component (name.dll).
#define MERIDEL_COMPONENT_ROWS(X)                                                         \
    X(1, "MeridelControl", "", "", "{845945F8-6993-4B85-B563-DB0116DFC434}")             \
    X(2, "MeridelEngine", "", "", "{54D58948-E105-494F-BF70-DF4632A91FA0}")              \
    X(3, "MainImager", "Imagers\\MainImager", "path", "")                                \
    X(4, "Transport", "Transports", "", "")                                              \
    X(5, "MeridelSupport", "", "", "{62850E2D-3AB2-48AA-8530-8F03F54EE646}")             \
    X(6, "MeridelRuntime", "", "", "{DA0A5165-4742-470D-91EE-F9BA356EC89E}")             \
    X(7, "Resources3D", "3DResources", "DllPath", "")                                    \
    X(8, "Resources3D2", "", "", "{79BFC657-7F42-4D1D-ACAD-1D2A6FFE756E}")               \
    X(9, "JScriptEngine", "ScriptEngines", ".js", "{118DA53B-CBB4-488E-8813-FD0AED655C3A}") \
    X(10, "JavaEngine", "ScriptEngines", ".class", "{095B706F-AB90-47AE-BF2B-1927831D2D4F}") \
    X(11, "EaiRegistration", "", "", "{49743A86-3A25-497C-A85F-AEAC4BC5BE76}")           \
    X(12, "NativeScript", "ScriptEngines", "nativescript:", "{ECD7E562-10F8-43C7-A5C0-6F34157C21AA}") \
    X(13, "SoundSystem", "", "", "{E95A82B6-EAAE-469F-805D-584B05EE1879}")               \
    X(14, "DSoundRenderer", "", "", "{BE536171-52EF-43FF-9E04-A6D10D377657}")            \
    X(15, "MovieImager", "Imagers\\MovieImager", "path", "")                             \
    X(16, "MovieTexture", "", "", "{B9212246-4609-412C-99D1-EE6C0E167ABC}")              \
    X(17, "AutomationDriver", "", "", "{FA645FF0-656E-48BD-9D53-7E5DDD1559CC}")          \
    X(18, "Xml3dConverter", "", "", "{219BEC09-9B0B-4FFA-B8C8-EEE1D251F355}")            \
    X(19, "U3dConverter", "", "", "{07FB306D-EBBF-4497-A03A-EAEFA0930D63}")              \
    X(20, "JtConverter", "", "", "{F3086B32-DF36-44F4-8943-DFD0E1B0AD92}")               \
    X(21, "Vrml1Converter", "Convertors", "VRML1", "")

// The file type the product registers for the current user, then an older
// name that is only ever removed.
#define MERIDEL_FILE_TYPES(X) X("Meridel.ClientCU") X("Meridel.Client")
// Always walked in this order.
#define MERIDEL_VRML_EXTENSIONS(X) X(".wrl") X(".vrml") X(".wrz")
#define MERIDEL_VRML_CONTENT_TYPES(X) X("model/vrml") X("x-world/x-vrml") X("application/x-meridel")

// The maker's folder (below Program Files, Common Files and Application Data)
// and key (below Software), the product's own below it, the version whose key
// the product writes there, and the program folder below the maker's folder
// in Program Files.
#define MERIDEL_MAKER "Halvorix"
#define MERIDEL_PRODUCT "Meridel"
#define MERIDEL_VERSION "2.1"
#define MERIDEL_CLIENT_FOLDER "Meridel VRML Client"
// Composed here and in cmake/product_constants.cmake alike.
#define MERIDEL_PRODUCT_PARENT_KEY "Software\\" MERIDEL_MAKER "\\" MERIDEL_PRODUCT
#define MERIDEL_PRODUCT_KEY MERIDEL_PRODUCT_PARENT_KEY "\\" MERIDEL_VERSION

// X(key below HKEY_LOCAL_MACHINE\Software, offered): the Netscape-family
// browsers, in the order the remover cleans their plug-in folders; the
// installer offers the plug-in folders of the first browser marked 1 that is
// installed (Firefox first, the Mozilla suite only without it).
#define MERIDEL_NETSCAPE_FAMILY(X)                                                           \
    X("Mozilla\\Mozilla Firefox", 1) X("mozilla.org\\Mozilla", 1) X("Netscape\\Netscape", 0) \
        X("Netscape\\Netscape 6", 0) X("Netscape\\Netscape Navigator", 0)

#define MERIDEL_PRODUCT_NAME "Meridel3D Viewer"
#define MERIDEL_MOZILLA_PLUGIN_ID "@halvorix.com/Meridel"
#define MERIDEL_PLUGIN_MODULE "npMeridel.dll"
#define MERIDEL_PLUGIN_CLASS_ARCHIVE "lattice.jar"
#define MERIDEL_PLUGIN_TYPE_LIBRARY "npMeridel.xpt"

namespace product {

struct Component {
    int row;
    const char* standInModule;
    const char* moduleSubkey;     // "" when the product key names no module
    const char* moduleValueName;  // "" for the subkey's default value
    const char* classId;          // "" when the component has no class
};

#define MERIDEL_ROW(row, module, subkey, value, classId) {row, module, subkey, value, classId},
inline constexpr Component kComponents[] = {MERIDEL_COMPONENT_ROWS(MERIDEL_ROW)};
#undef MERIDEL_ROW
inline constexpr std::size_t kComponentCount = sizeof(kComponents) / sizeof(kComponents[0]);

// The ActiveX control (row 1) and the scene engine (row 2).
inline constexpr const char* kControlClassId = kComponents[0].classId;
inline constexpr const char* kEngineClassId = kComponents[1].classId;

#define MERIDEL_NARROW(text) text,
#define MERIDEL_WIDE(text) L"" text,
inline constexpr const char* kFileTypes[] = {MERIDEL_FILE_TYPES(MERIDEL_NARROW)};
inline constexpr const wchar_t* kFileTypesW[] = {MERIDEL_FILE_TYPES(MERIDEL_WIDE)};
inline constexpr const char* kVrmlExtensions[] = {MERIDEL_VRML_EXTENSIONS(MERIDEL_NARROW)};
inline constexpr const wchar_t* kVrmlExtensionsW[] = {MERIDEL_VRML_EXTENSIONS(MERIDEL_WIDE)};
inline constexpr const char* kVrmlContentTypes[] = {MERIDEL_VRML_CONTENT_TYPES(MERIDEL_NARROW)};
inline constexpr const wchar_t* kVrmlContentTypesW[] = {MERIDEL_VRML_CONTENT_TYPES(MERIDEL_WIDE)};
#undef MERIDEL_NARROW
#undef MERIDEL_WIDE

inline constexpr char kProductKey[] = MERIDEL_PRODUCT_KEY;
inline constexpr wchar_t kProductParentKeyW[] = L"" MERIDEL_PRODUCT_PARENT_KEY;
inline constexpr char kMakerFolder[] = MERIDEL_MAKER;
// Below Common Files and Application Data, and below Program Files.
inline constexpr char kProductSubfolder[] = "\\" MERIDEL_MAKER "\\" MERIDEL_PRODUCT;
inline constexpr char kClientSubfolder[] = "\\" MERIDEL_MAKER "\\" MERIDEL_CLIENT_FOLDER;

struct NetscapeBrowser {
    const char* key;  // below HKEY_LOCAL_MACHINE\Software
    const wchar_t* keyW;
    bool offered;  // its plug-in folders are offered by the installer
};
#define MERIDEL_BROWSER(key, offered) {key, L"" key, offered != 0},
inline constexpr NetscapeBrowser kNetscapeFamily[] = {MERIDEL_NETSCAPE_FAMILY(MERIDEL_BROWSER)};
#undef MERIDEL_BROWSER

#define MERIDEL_ROW(row, module, subkey, value, classId) L"" classId,
inline constexpr const wchar_t* kClassIdsW[] = {MERIDEL_COMPONENT_ROWS(MERIDEL_ROW)};
#undef MERIDEL_ROW
inline constexpr const wchar_t* kControlClassIdW = kClassIdsW[0];
inline constexpr const wchar_t* kEngineClassIdW = kClassIdsW[1];

// The fields of a braced class identifier, parsed at compile time so that the
// remover's GUID table comes from the same text.
struct GuidFields {
    std::uint32_t data1;
    std::uint16_t data2;
    std::uint16_t data3;
    std::uint8_t data4[8];
};

constexpr unsigned HexDigit(char c) {
    return c >= '0' && c <= '9' ? unsigned(c - '0')
           : c >= 'A' && c <= 'F' ? unsigned(c - 'A' + 10)
           : c >= 'a' && c <= 'f' ? unsigned(c - 'a' + 10)
                                  : throw "not a hexadecimal digit";
}

constexpr std::uint32_t HexField(const char* text, int digits) {
    std::uint32_t value = 0;
    for (int i = 0; i < digits; ++i) value = value << 4 | HexDigit(text[i]);
    return value;
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"; anything else fails to compile
// when used in a constant expression.
constexpr GuidFields ParseClassId(const char* text) {
    if (text[0] != '{' || text[9] != '-' || text[14] != '-' || text[19] != '-' || text[24] != '-' ||
        text[37] != '}' || text[38] != '\0')
        throw "not a braced class identifier";
    GuidFields g{HexField(text + 1, 8), std::uint16_t(HexField(text + 10, 4)), std::uint16_t(HexField(text + 15, 4)),
                 {}};
    const int offsets[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (int i = 0; i < 8; ++i) g.data4[i] = std::uint8_t(HexField(text + offsets[i], 2));
    return g;
}

}  // namespace product
