#pragma once
#include "remover/engine/removal_context.h"

namespace remover {

// Internet Explorer's download-cache records of the product's controls.
void RemoveDistributionUnits(RemovalContext& context);

}  // namespace remover
