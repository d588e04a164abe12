#include "remover/engine/old_uninstallers.h"

#include <string>
#include <vector>

#include "platform/registry_key.h"
#include "platform/unique_resource.h"
#include "remover/core/uninstall_command.h"

namespace remover {
namespace {

// Older versions registered under one of these names; the second carries the
// registered sign (0xAE in code page 1252). Only the first that opens is read.
constexpr const char* kUninstallKeys[] = {
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Meridel VRML Client",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Meridel\xAE VRML Client",
};

bool ReadUninstallCommand(HKEY hive, std::string& command) {
    for (const char* path : kUninstallKeys) {
        platform::RegistryKeyA key;
        if (key.Open(hive, path, KEY_READ) != ERROR_SUCCESS) continue;
        return key.ReadText("UninstallString", command) == ERROR_SUCCESS;
    }
    return false;
}

void StartAndWait(const std::string& command) {
    // CreateProcessA may write into the command line, so it gets its own copy.
    std::vector<char> commandLine(command.begin(), command.end());
    commandLine.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info))
        return;
    platform::UniqueProcessInfo started{platform::UniqueHandle(info.hProcess),
                                        platform::UniqueHandle(info.hThread)};
    ::WaitForSingleObject(started.process.get(), INFINITE);
}

}  // namespace

void RunOldUninstallers(HKEY hive, bool silent) {
    std::string command;
    if (!ReadUninstallCommand(hive, command)) return;
    StartAndWait(silent ? remover_core::InsertSilentSwitches(command) : command);
}

}  // namespace remover
