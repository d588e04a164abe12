#include "remover/engine/old_uninstallers.h"

#include <string>
#include <vector>

#include "platform/registry_key.h"
#include "platform/unique_resource.h"
#include "remover/core/uninstall_command.h"
#include "remover/engine/elevation.h"
#include "remover/engine/user_places.h"

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

bool IsFile(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Any process of the user can write HKCU: an elevated run starts only an
// uninstaller that lies where only administrators can put one.
bool MayStart(HKEY hive, const remover_core::UninstallLaunch& launch) {
    if (hive != HKEY_CURRENT_USER || !IsProcessElevated()) return true;
    return launch.found && LiesInProgramFolders(launch.program);
}

void StartAndWait(const remover_core::UninstallLaunch& launch) {
    // CreateProcessA may write into the command line, so it gets its own copy.
    std::vector<char> commandLine(launch.commandLine.begin(), launch.commandLine.end());
    commandLine.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    // A program that exists is named outright, so nothing is searched for.
    const char* application = launch.found ? launch.program.c_str() : nullptr;
    if (!::CreateProcessA(application, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info))
        return;
    platform::UniqueProcessInfo started{platform::UniqueHandle(info.hProcess),
                                        platform::UniqueHandle(info.hThread)};
    ::WaitForSingleObject(started.process.get(), INFINITE);
}

}  // namespace

void RunOldUninstallers(HKEY hive, bool silent) {
    std::string command;
    if (!ReadUninstallCommand(hive, command)) return;
    const auto launch = remover_core::ParseUninstallCommand(command, silent, IsFile);
    if (launch && MayStart(hive, *launch)) StartAndWait(*launch);
}

}  // namespace remover
