// The remover's path texts: the SharedDLLs folder match and the plug-in file
// paths of a browser folder.
#include <cstdlib>

#include "remover/core/plugin_paths.h"
#include "remover/core/shared_dll_name.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const auto [name, folder] = fuzz::SplitNarrow(data + 1, size - 1);
    if (remover_core::IsInsideFolder(name, folder)) {
        // Inside means the folder followed by a backslash; the folder alone is not.
        if (folder.empty() || name.size() <= folder.size() || name[folder.size()] != '\\') std::abort();
    }
    const auto files = remover_core::NetscapePluginFiles(folder, data[0] & 1);
    if (files.size() != 3) std::abort();
    for (const auto& file : files)
        if (file.compare(0, folder.size(), folder) != 0) std::abort();
    const std::string install = remover_core::InstallFolder(folder);
    if (install.empty() || install.back() != '\\') std::abort();
    if (remover_core::OperaPluginFiles(folder).size() != 4) std::abort();
    return 0;
}
