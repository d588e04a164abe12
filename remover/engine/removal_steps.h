#pragma once
// The removal's steps, in the order they run: X(name, function of removal.cpp).
// CMake reads the names into product_facts.json, where the scripts find them
// (keep one X per line, the name a plain literal).
#define MERIDEL_REMOVAL_STEPS(X)                         \
    X("shared-dlls-user", SweepUserSharedDlls)           \
    X("shared-dlls-machine", SweepMachineSharedDlls)     \
    X("old-uninstallers-user", RunUserUninstallers)      \
    X("old-uninstallers-machine", RunMachineUninstallers) \
    X("distribution-units", RemoveUnits)                 \
    X("components", RemoveComponents)                    \
    X("documentation-folder", RemoveDocumentation)       \
    X("render-key", RemoveRender)                        \
    X("product-folders", RemoveFolders)                  \
    X("browser-plugins", CleanPlugins)                   \
    X("file-types", RemoveFileTypes)                     \
    X("product-key", DeleteProductKey)
