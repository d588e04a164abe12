#include "remover/engine/registry_sweeps.h"

namespace remover {

void SweepSharedDllEntries(HKEY) {}
void RunOldUninstallers(HKEY, bool) {}
void RemoveDistributionUnits() {}
void RemoveRenderKey() {}
void RemovePathKeyTree(HKEY, const char*) {}

}  // namespace remover
