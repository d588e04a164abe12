// The switch insertion over arbitrary uninstall commands: the result is the
// command itself, or the command with the switches at one place and nothing lost.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "remover/core/uninstall_command.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string command(reinterpret_cast<const char*>(data), size);
    const std::string result = remover_core::InsertSilentSwitches(command);
    const size_t at = remover_core::SilentSwitchPosition(command);
    if (at == std::string::npos) {
        if (result != command) std::abort();
    } else if (at > command.size() ||
               result != command.substr(0, at) + std::string(remover_core::kSilentSwitches) + command.substr(at)) {
        std::abort();
    }
    return 0;
}
