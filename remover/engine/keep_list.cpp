#include "remover/engine/keep_list.h"

#include <algorithm>
#include <cstring>

#include "remover/engine/class_registration.h"

namespace remover {
namespace {

bool Same(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }

}  // namespace

bool KeepList::Keeps(const GUID& classId) const {
    return std::any_of(classIds_.begin(), classIds_.end(), [&](const GUID& kept) { return Same(kept, classId); });
}

bool KeepList::KeepsPresentModule(const GUID& classId) {
    if (!Keeps(classId)) return false;
    for (const Answer& answer : answers_)
        if (Same(answer.classId, classId)) return answer.present;
    const bool present = IsModulePresent(classId);
    answers_.push_back({classId, present});
    return present;
}

}  // namespace remover
