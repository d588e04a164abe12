#include "remover/engine/component_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "remover/engine/class_registration.h"

namespace remover {
namespace {

struct ExpectedRow {
    const char* moduleSubkey;
    const char* moduleValueName;
    const char* classId;
};

// The product's own identifiers and in-house names, row by row.
const ExpectedRow kExpected[kComponentCount] = {
    {nullptr, nullptr, "{845945F8-6993-4B85-B563-DB0116DFC434}"},
    {nullptr, nullptr, "{54D58948-E105-494F-BF70-DF4632A91FA0}"},
    {"Imagers\\MainImager", "path", nullptr},
    {"Transports", nullptr, nullptr},
    {nullptr, nullptr, "{62850E2D-3AB2-48AA-8530-8F03F54EE646}"},
    {nullptr, nullptr, "{DA0A5165-4742-470D-91EE-F9BA356EC89E}"},
    {"3DResources", "DllPath", nullptr},
    {nullptr, nullptr, "{79BFC657-7F42-4D1D-ACAD-1D2A6FFE756E}"},
    {"ScriptEngines", ".js", "{118DA53B-CBB4-488E-8813-FD0AED655C3A}"},
    {"ScriptEngines", ".class", "{095B706F-AB90-47AE-BF2B-1927831D2D4F}"},
    {nullptr, nullptr, "{49743A86-3A25-497C-A85F-AEAC4BC5BE76}"},
    {"ScriptEngines", "nativescript:", "{ECD7E562-10F8-43C7-A5C0-6F34157C21AA}"},
    {nullptr, nullptr, "{E95A82B6-EAAE-469F-805D-584B05EE1879}"},
    {nullptr, nullptr, "{BE536171-52EF-43FF-9E04-A6D10D377657}"},
    {"Imagers\\MovieImager", "path", nullptr},
    {nullptr, nullptr, "{B9212246-4609-412C-99D1-EE6C0E167ABC}"},
    {nullptr, nullptr, "{FA645FF0-656E-48BD-9D53-7E5DDD1559CC}"},
    {nullptr, nullptr, "{219BEC09-9B0B-4FFA-B8C8-EEE1D251F355}"},
    {nullptr, nullptr, "{07FB306D-EBBF-4497-A03A-EBEFA0930D63}"},
    {nullptr, nullptr, "{F3086B32-DF36-44F4-8943-DFD0E1B0AD92}"},
    {"Convertors", "VRML1", nullptr},
};

std::string Text(const char* s) { return s ? s : "(none)"; }

TEST(ComponentTable, MatchesTheProductsComponentsRowByRow) {
    std::set<std::string> classIds;
    for (size_t i = 0; i < kComponentCount; ++i) {
        SCOPED_TRACE("row " + std::to_string(i + 1));
        const ComponentRow& row = kComponentTable[i];
        EXPECT_EQ(Text(row.moduleSubkey), Text(kExpected[i].moduleSubkey));
        EXPECT_EQ(Text(row.moduleValueName), Text(kExpected[i].moduleValueName));
        EXPECT_EQ(row.classId ? GuidToText(*row.classId) : "(none)", Text(kExpected[i].classId));
        if (row.classId) classIds.insert(GuidToText(*row.classId));
    }
    EXPECT_EQ(classIds.size(), 16u) << "class identifiers must be distinct";
    EXPECT_EQ(GuidToText(kControlClassId), kExpected[0].classId);
    EXPECT_EQ(GuidToText(kSceneEngineClassId), kExpected[1].classId);
}

TEST(GuidToText, GivesTheBracedUpperCaseForm) {
    const GUID lower = {0xabcdef01, 0x2345, 0x6789, {0xab, 0xcd, 0xef, 0x01, 0x23, 0x45, 0x67, 0x89}};
    EXPECT_EQ(GuidToText(lower), "{ABCDEF01-2345-6789-ABCD-EF0123456789}");
    EXPECT_EQ(GuidToText(GUID{}), "{00000000-0000-0000-0000-000000000000}");
}

}  // namespace
}  // namespace remover
