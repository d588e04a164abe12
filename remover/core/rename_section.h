#pragma once
// The "rename" section of wininit.ini as the profile functions hand it over:
// zero-terminated entries followed by one more zero byte. Windows of the 95
// family works through it at its next start and deletes every "NUL=" file.
#include <optional>
#include <string>
#include <string_view>

namespace remover_core {

// The section with one "NUL=" + shortPath line added after its last entry,
// ready for the whole-section write (two zero bytes at the end). `section` is
// the first `n` characters the read returned (without the list's final zero).
// The new entry joins the last one behind CR LF, unless that entry already
// ends in CR LF. Without a short path there is nothing to name: nullopt.
std::optional<std::string> AppendRenameEntry(std::string_view section, std::string_view shortPath);

}  // namespace remover_core
