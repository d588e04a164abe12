#pragma once
// The current user's "Software\Classes" key, opened for writing and deleting.
#include "platform/registry_key.h"

namespace custom_actions {

// Opens (or creates) HKCU\Software\Classes. On Windows the key is the
// system's own link to the user's classes hive and is followed; any other
// link there, or on the way, is refused with ERROR_ACCESS_DENIED.
LONG OpenUserClassesForChange(platform::RegistryKey& classes);

}  // namespace custom_actions
