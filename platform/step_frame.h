#pragma once
// The frame of a sequence of independent steps, for the remover and the
// custom actions alike.

namespace platform {

// One independent step: an exception inside it (a failed allocation) skips
// the rest of that step only, and the caller goes on with the next one.
template <class Work>
void RunStep(Work&& work) noexcept {
    try {
        work();
    } catch (...) {
    }
}

}  // namespace platform
