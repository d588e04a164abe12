#pragma once
// The product's VRML file-name extensions and content types, always walked in
// this order (registration, finalization and Opera's settings all use them),
// in the custom actions' UTF-16.
#include "platform/product_constants.h"

namespace custom_actions_core {

inline constexpr const auto& kVrmlExtensions = product::kVrmlExtensionsW;
inline constexpr const auto& kVrmlContentTypes = product::kVrmlContentTypesW;

// ActiveX control that Internet Explorer hands the content types to.
constexpr const wchar_t* kControlClassId = product::kControlClassIdW;
// Scene engine whose module provides the file type's icon.
constexpr const wchar_t* kEngineClassId = product::kEngineClassIdW;

}  // namespace custom_actions_core
