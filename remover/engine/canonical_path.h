#pragma once
// The one spelling of a path that every decision and every act on it uses.
#include <optional>
#include <string>

namespace remover {

// The written path with its separators made one (the slash counts as the
// backslash, as it does to Windows) and every component in its long form.
// nullopt when that cannot be had (too long, or a name the code page cannot
// spell exactly), or when the long form opens another object than the
// written path: acting on it would act on something that was never judged.
std::optional<std::string> CanonicalPath(const std::string& written);

}  // namespace remover
