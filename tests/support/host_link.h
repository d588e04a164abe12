#pragma once
// Links that Windows programs under Wine cannot make themselves: Wine 8's
// CreateSymbolicLinkW creates nothing and junctions are refused, while a
// host symbolic link to a folder shows as a reparse point when it is the last
// name of a path. The host's own ln and rm are started through Wine.
#include <string>
#include <vector>

namespace testsupport {

// Makes `link` a host symbolic link to the folder `target`; false when the
// link does not show as a reparse point within a few seconds.
bool MakeHostFolderLink(const std::string& link, const std::string& target);
// Makes `link` a host symbolic link to the file `target`; under Wine it shows
// as a plain file whose final path is the target. False when it never appears.
bool MakeHostFileLink(const std::string& link, const std::string& target);
// Removes the link itself (never what it points to).
void RemoveHostLink(const std::string& link);

// Removes its links at scope end, so that no test leaves a way out of the prefix.
class ScopedHostLinks {
public:
    ScopedHostLinks() = default;
    ScopedHostLinks(const ScopedHostLinks&) = delete;
    ScopedHostLinks& operator=(const ScopedHostLinks&) = delete;
    ~ScopedHostLinks() {
        for (const std::string& link : links_) RemoveHostLink(link);
    }
    bool File(const std::string& link, const std::string& target) { return Made(MakeHostFileLink(link, target), link); }
    bool Folder(const std::string& link, const std::string& target) {
        return Made(MakeHostFolderLink(link, target), link);
    }

private:
    bool Made(bool made, const std::string& link) {
        links_.push_back(link);  // a half-made link is removed too
        return made;
    }
    std::vector<std::string> links_;
};

// A user's process racing a check: re-points the host link `link` from one
// folder to the other and back (each switch one atomic rename) until it ends,
// then removes the link.
class HostLinkSwapper {
public:
    HostLinkSwapper(const std::string& link, const std::string& first, const std::string& second);
    // The other race: the real folder `folder` and a host link to `target` trade places until it ends.
    struct FolderForLink {};
    HostLinkSwapper(FolderForLink, const std::string& folder, const std::string& target);
    ~HostLinkSwapper();
    HostLinkSwapper(const HostLinkSwapper&) = delete;
    HostLinkSwapper& operator=(const HostLinkSwapper&) = delete;
    bool started() const { return started_; }

private:
    std::string link_;
    bool started_ = false;
};

}  // namespace testsupport
