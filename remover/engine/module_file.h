#pragma once
#include <string>

#include "platform/registry_key.h"
#include "platform/thread_scope.h"
#include "remover/engine/file_deletion.h"
#include "remover/engine/removal_context.h"

namespace remover {

// The one way the remover deletes a file: one canonical (long) spelling,
// DllUnregisterServer for a ".dll" or ".exe", the SharedDlls value, then the
// file (now or at restart). A null or empty path does nothing, and so does one
// too long to expand or whose long form opens another file. Files must lie
// outside the Windows folder; a file that a download-cache record lists may
// also lie in Internet Explorer's download cache inside it.
enum class FileOrigin { Registration, DownloadCache };
void RemoveModuleFile(RemovalContext& context, const char* path, FileOrigin origin = FileOrigin::Registration);

// The same for a file that the walk of a product folder found; its path is
// already the long form (see IsFoundFileSafeToRemove). A walk through held
// folders passes `deleteNow` to delete the file through the folder it holds.
void RemoveFoundFile(RemovalContext& context, const std::string& longPath, const DeleteNow& deleteNow = nullptr);

// While one lives on a thread, the files removed there drop their SharedDlls
// values through this one open key: a folder walk would otherwise open and
// close the key for every file it deletes.
struct OpenSharedDlls {
    OpenSharedDlls();
    platform::RegistryKeyA key;  // empty where the key cannot be opened
};
using SharedDllsScope = platform::ThreadScope<OpenSharedDlls>;

}  // namespace remover
