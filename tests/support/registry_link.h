#pragma once
// Registry links for tests: a volatile key whose SymbolicLinkValue names a
// key of HKEY_LOCAL_MACHINE. A link is removed as a link, never through the
// usual tree clean-up, which would follow it.
#include <windows.h>

#include <string>

namespace testsupport {

// Makes root\path a link to HKEY_LOCAL_MACHINE\target. Fails the test if it cannot.
void MakeRegistryLink(HKEY root, const std::string& path, const std::string& machineTarget);
// Deletes the link root\path itself, when it is there.
void RemoveRegistryLink(HKEY root, const std::string& path);

}  // namespace testsupport
