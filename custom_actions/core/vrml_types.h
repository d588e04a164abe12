#pragma once
// The product's VRML file-name extensions and content types, always walked in
// this order (registration, finalization and Opera's settings all use them).

namespace custom_actions_core {

constexpr const wchar_t* kVrmlExtensions[] = {L".wrl", L".vrml", L".wrz"};
constexpr const wchar_t* kVrmlContentTypes[] = {L"model/vrml", L"x-world/x-vrml", L"application/x-meridel"};

// ActiveX control that Internet Explorer hands the content types to.
constexpr const wchar_t* kControlClassId = L"{845945F8-6993-4B85-B563-DB0116DFC434}";
// Scene engine whose module provides the file type's icon.
constexpr const wchar_t* kEngineClassId = L"{54D58948-E105-494F-BF70-DF4632A91FA0}";

}  // namespace custom_actions_core
