#pragma once
#include "remover/engine/removal_context.h"

namespace remover {

// Plug-in files in the Netscape-family and Opera folders, and the product's
// entry under SOFTWARE\MozillaPlugins.
void CleanBrowserPlugins(RemovalContext& context);

}  // namespace remover
