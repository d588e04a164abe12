#include "remover/engine/browser_plugins.h"

namespace remover {

void CleanBrowserPlugins() {}

}  // namespace remover
