#include "remover/engine/module_file.h"

namespace remover {

void RemoveModuleFile(const char*) {}

}  // namespace remover
