#pragma once
// Links that Windows programs under Wine cannot make themselves: Wine 8's
// CreateSymbolicLinkW creates nothing and junctions are refused, while a
// host symbolic link to a folder shows as a reparse point when it is the last
// name of a path. The host's own ln and rm are started through Wine.
#include <string>

namespace testsupport {

// Makes `link` a host symbolic link to the folder `target`; false when the
// link does not show as a reparse point within a few seconds.
bool MakeHostFolderLink(const std::string& link, const std::string& target);
// Removes the link itself (never what it points to).
void RemoveHostLink(const std::string& link);

}  // namespace testsupport
