#pragma once
#include <windows.h>

#include <vector>

namespace remover {

// The components that the command line keeps, for one run. Membership is an
// exact 16-byte comparison, the first match counting. Whether a kept
// component's module is still there is looked up at the first question about
// it and that answer holds for the rest of the run.
class KeepList {
public:
    // Refers to the list, which outlives the run; nothing is copied.
    explicit KeepList(const std::vector<GUID>& classIds) noexcept : classIds_(classIds) {}

    bool Keeps(const GUID& classId) const;
    // Kept, and its class registration names a module that is still there.
    bool KeepsPresentModule(const GUID& classId);

private:
    struct Answer {
        GUID classId;
        bool present;
    };
    const std::vector<GUID>& classIds_;
    std::vector<Answer> answers_;
};

}  // namespace remover
