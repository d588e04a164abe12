#pragma once
#include <string>

#include "platform/unique_resource.h"
#include "remover/engine/machine_places.h"

namespace remover {

// Whether the remover may load a component module to let it unregister
// itself: in an elevated run, never a module below the user's profile, where
// any process of the user could have planted it. (Links are never loaded
// either; RemoveModuleFile tells them apart.)
bool MayLoadComponentModule(const MachinePlaces& places, const std::string& longPath);

// Loads a component module by its full path so that its own dependencies come
// from its own folder and the system folder only. A relative path is not
// loaded: it would be looked up along the search path.
platform::UniqueModule LoadComponentModule(const std::string& longPath);

}  // namespace remover
