#include "remover/engine/component_table.h"

#include "platform/product_constants.h"

namespace remover {
namespace {

constexpr const char* NullWhenEmpty(const char* text) { return *text ? text : nullptr; }

constexpr GUID ClassGuid(const char* text) {
    if (!*text) return GUID{};
    const product::GuidFields f = product::ParseClassId(text);
    return GUID{f.data1, f.data2, f.data3,
                {f.data4[0], f.data4[1], f.data4[2], f.data4[3], f.data4[4], f.data4[5], f.data4[6], f.data4[7]}};
}

static_assert(product::kComponentCount == kComponentCount, "the component table has one row per product component");

constexpr std::array<GUID, kComponentCount> kClassGuids = [] {
    std::array<GUID, kComponentCount> guids{};
    for (std::size_t i = 0; i < kComponentCount; ++i) guids[i] = ClassGuid(product::kComponents[i].classId);
    return guids;
}();

}  // namespace

const GUID kControlClassId = kClassGuids[0];
const GUID kSceneEngineClassId = kClassGuids[1];

const std::array<ComponentRow, kComponentCount> kComponentTable = [] {
    std::array<ComponentRow, kComponentCount> rows{};
    for (std::size_t i = 0; i < kComponentCount; ++i) {
        const product::Component& c = product::kComponents[i];
        rows[i] = {NullWhenEmpty(c.moduleSubkey), NullWhenEmpty(c.moduleValueName),
                   *c.classId ? &kClassGuids[i] : nullptr};
    }
    return rows;
}();

}  // namespace remover
