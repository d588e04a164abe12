// The remover's path texts: the SharedDLLs folder match, the plug-in file
// paths of a browser folder and the deletion rules.
#include <cstdlib>

#include "remover/core/deletion_rules.h"
#include "remover/core/folder_refusal.h"
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
    // A folder never survives a rule that seals it, and what is not refused
    // is always a folder below a drive root or share.
    remover_core::ProtectedFolders sealedByName;
    sealedByName.sealed = {folder};
    const bool walkable = remover_core::ClassifyFolderPath(remover_core::ComparablePath(name)) ==
                          remover_core::FolderShape::Walkable;
    if (!remover_core::IsFolderRefused(name, sealedByName) && !walkable) std::abort();
    if (remover_core::LiesWithin(name, folder) && !remover_core::IsFolderRefused(name, sealedByName)) std::abort();
    if (remover_core::LiesWithin(name, folder) && !remover_core::IsFileRefused(name, {folder})) std::abort();
    return 0;
}
