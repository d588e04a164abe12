#include "remover/engine/old_uninstallers.h"

#include <optional>
#include <string>
#include <vector>

#include "platform/registry_text.h"
#include "platform/unique_resource.h"
#include "remover/core/folder_refusal.h"
#include "remover/core/uninstall_command.h"
#include "remover/engine/file_link.h"
#include "remover/engine/folder_guard.h"
#include "remover/engine/machine_places.h"
#include "remover/engine/user_places.h"

namespace remover {
namespace {

// Older versions registered under one of these names; the second carries the
// registered sign (0xAE in code page 1252). Only the first that opens is read.
constexpr const char* kUninstallKeys[] = {
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Meridel VRML Client",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Meridel\xAE VRML Client",
};

// A command that has no exact spelling in the code page is not the product's:
// read with the 8-bit calls it could name another program.
bool ReadUninstallCommand(HKEY hive, std::string& command) {
    for (const char* path : kUninstallKeys) {
        platform::ExactTextKey key;
        if (key.Open(hive, path, KEY_READ) != ERROR_SUCCESS) continue;
        return key.ReadText("UninstallString", command) == ERROR_SUCCESS;
    }
    return false;
}

bool IsFile(const std::string& path) {
    if (!remover_core::IsPlainFullPath(path)) return false;
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A bare program name ("MsiExec.exe") is taken from the system folders only:
// the search of CreateProcess would try the remover's own folder and the
// current folder first, where anyone could have put a program of that name.
std::optional<std::string> FindInSystemFolders(const std::string& name) {
    if (name.empty() || name.find_first_of("\\/:") != std::string::npos) return std::nullopt;
    for (const std::string& folder : WindowsDirectories()) {
        const std::string path = folder + "\\" + name;
        if (IsFile(path)) return path;
        if (name.find('.') == std::string::npos && IsFile(path + ".exe")) return path + ".exe";
    }
    return std::nullopt;
}

using remover_core::Detail;

// `held`, the approved program's file, is closed once the process has
// started: an uninstaller may delete its own file. Empty once the program
// has run, else why it did not start.
Detail StartAndWait(const remover_core::UninstallLaunch& launch, platform::UniqueFile held = {}) {
    // CreateProcessA may write into the command line, so it gets its own copy.
    std::vector<char> commandLine(launch.commandLine.begin(), launch.commandLine.end());
    commandLine.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    // The program is named outright, so nothing is searched for.
    const BOOL started = ::CreateProcessA(launch.program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                          nullptr, nullptr, &startup, &info);
    const DWORD error = ::GetLastError();
    held.reset();
    if (!started) return error;
    platform::UniqueProcessInfo process{platform::UniqueHandle(info.hProcess), platform::UniqueHandle(info.hThread)};
    ::WaitForSingleObject(process.process.get(), INFINITE);
    return {};
}

// Any process of the user can write HKCU, and re-point a name between a check
// and a start. An elevated run opens the program once and holds it, so that
// it can be neither changed, replaced nor renamed; that handle's final path
// must lie in the maker's own folders, where only administrators can put a
// program; and exactly that path is started, with the remover's switches
// only. Anything else starts nothing.
Detail StartApprovedAndWait(const MachinePlaces& places, const remover_core::UninstallLaunch& launch) {
    platform::UniqueFile held(::CreateFileA(launch.program.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    remover_core::UninstallLaunch approved;
    if (!held || ReadHeldFinalPath(held.get(), approved.program) != platform::FinalPathStatus::Read ||
        !LiesInMakersProgramFolders(places, approved.program))
        return remover_core::Reason::OutsideMakersFolders;
    approved.commandLine = remover_core::SwitchesOnlyCommandLine(launch, approved.program);
    return StartAndWait(approved, std::move(held));
}

}  // namespace

void RunOldUninstallers(RemovalContext& context, HKEY hive, bool silent) {
    std::string command;
    if (!ReadUninstallCommand(hive, command)) return;
    using remover_core::Outcome;
    auto launch = remover_core::ParseUninstallCommand(command, silent, IsFile);
    if (!launch) return context.Report(Outcome::NotStarted, command, remover_core::Reason::UnreadableCommand);
    if (!launch->found) {
        const std::optional<std::string> system = FindInSystemFolders(launch->program);
        // A path that names no file: nothing to start.
        if (!system) return context.Report(Outcome::NotStarted, launch->program, remover_core::Reason::NoSuchProgram);
        launch->program = *system;
        launch->found = true;
    }
    const MachinePlaces& places = PlacesOf(context);
    const Detail notStarted =
        ElevatedRunDistrusts(places, hive) ? StartApprovedAndWait(places, *launch) : StartAndWait(*launch);
    if (!notStarted.empty()) context.Report(Outcome::NotStarted, launch->program, notStarted);
}

}  // namespace remover
