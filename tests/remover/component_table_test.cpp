#include "remover/engine/component_table.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/product_constants.h"
#include "remover/engine/class_registration.h"

namespace remover {
namespace {

std::string Text(const char* s) { return s ? s : ""; }

// The constants themselves are checked against the product's reference
// natively; here, that the remover's table of GUIDs and routes says the same
// once compiled for Windows.
TEST(ComponentTable, CompiledTableSaysWhatTheConstantsSay) {
    for (size_t i = 0; i < kComponentCount; ++i) {
        const product::Component& expected = product::kComponents[i];
        SCOPED_TRACE("row " + std::to_string(expected.row));
        const ComponentRow& row = kComponentTable[i];
        EXPECT_EQ(Text(row.moduleSubkey), expected.moduleSubkey);
        EXPECT_EQ(Text(row.moduleValueName), expected.moduleValueName);
        EXPECT_EQ(row.classId ? GuidToText(*row.classId) : "", expected.classId);
    }
    EXPECT_EQ(GuidToText(kControlClassId), product::kControlClassId);
    EXPECT_EQ(GuidToText(kSceneEngineClassId), product::kEngineClassId);
}

TEST(GuidToText, GivesTheBracedUpperCaseForm) {
    const GUID lower = {0xabcdef01, 0x2345, 0x6789, {0xab, 0xcd, 0xef, 0x01, 0x23, 0x45, 0x67, 0x89}};
    EXPECT_EQ(GuidToText(lower), "{ABCDEF01-2345-6789-ABCD-EF0123456789}");
    EXPECT_EQ(GuidToText(GUID{}), "{00000000-0000-0000-0000-000000000000}");
}

}  // namespace
}  // namespace remover
