#pragma once
#include <windows.h>

#include <array>

namespace remover {

// One product component: where its module path is recorded below the product
// key, and/or the COM class whose registration names the module.
struct ComponentRow {
    const char* moduleSubkey;     // null: no product-key route
    const char* moduleValueName;  // null: the subkey's default value
    const GUID* classId;          // null: no class registration
};

constexpr size_t kComponentCount = 21;
extern const std::array<ComponentRow, kComponentCount> kComponentTable;

extern const GUID kControlClassId;      // the ActiveX control (row 1)
extern const GUID kSceneEngineClassId;  // the VRML scene engine (row 2)

}  // namespace remover
