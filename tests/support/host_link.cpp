#include "tests/support/host_link.h"

#include <windows.h>

#include "platform/optional_proc.h"
#include "platform/unique_resource.h"

namespace testsupport {
namespace {

// Wine's own export: the host path of a Windows path, freed with HeapFree.
std::string HostPath(const std::string& path) {
    using UnixNameFn = char*(CDECL*)(LPCWSTR);
    const auto unixName =
        platform::GetOptionalProc<UnixNameFn>(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
    if (!unixName) return std::string();
    const std::wstring wide(path.begin(), path.end());
    char* name = unixName(wide.c_str());
    if (!name) return std::string();
    std::string result = name;
    ::HeapFree(::GetProcessHeap(), 0, name);
    return result;
}

// Wine starts a host program named by its "\\?\unix\" path; it does not
// report the program's end, so the caller waits for the file system instead.
bool StartHostProgram(const char* program, const std::string& arguments) {
    std::string commandLine = std::string(program) + " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(program, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    platform::UniqueHandle process(info.hProcess), thread(info.hThread);
    return true;
}

// Waits until the attributes of `path` satisfy `done`.
template <typename Done>
bool WaitForAttributes(const std::string& path, Done done) {
    for (int i = 0; i < 100; ++i) {
        if (done(::GetFileAttributesA(path.c_str()))) return true;
        ::Sleep(50);
    }
    return false;
}

bool IsReparsePoint(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool StartLink(const std::string& link, const std::string& target) {
    const std::string hostLink = HostPath(link), hostTarget = HostPath(target);
    if (hostLink.empty() || hostTarget.empty()) return false;
    return StartHostProgram("\\\\?\\unix\\bin\\ln", "-s \"" + hostTarget + "\" \"" + hostLink + "\"");
}

}  // namespace

bool MakeHostFolderLink(const std::string& link, const std::string& target) {
    return StartLink(link, target) && WaitForAttributes(link, IsReparsePoint);
}

bool MakeHostFileLink(const std::string& link, const std::string& target) {
    return StartLink(link, target) &&
           WaitForAttributes(link, [](DWORD attributes) { return attributes != INVALID_FILE_ATTRIBUTES; });
}

void RemoveHostLink(const std::string& link) {
    const std::string hostLink = HostPath(link);
    if (hostLink.empty() || !StartHostProgram("\\\\?\\unix\\bin\\rm", "-f \"" + hostLink + "\"")) return;
    WaitForAttributes(link, [](DWORD attributes) { return attributes == INVALID_FILE_ATTRIBUTES; });
}

HostLinkSwapper::HostLinkSwapper(const std::string& link, const std::string& first, const std::string& second)
    : link_(link) {
    const std::string hostLink = HostPath(link), stop = HostPath(link + ".stop");
    const std::string a = HostPath(first), b = HostPath(second);
    if (hostLink.empty() || stop.empty() || a.empty() || b.empty()) return;
    const std::string next = "'" + hostLink + ".next'", to = "'" + hostLink + "'";
    const std::string loop = "while [ ! -e '" + stop + "' ]; do ln -sfn '" + a + "' " + next + " && mv -T " + next +
                             " " + to + "; ln -sfn '" + b + "' " + next + " && mv -T " + next + " " + to +
                             "; done; rm -f " + to + " " + next + " '" + stop + "'";
    started_ = StartHostProgram("\\\\?\\unix\\bin\\sh", "-c \"" + loop + "\"");
}

// Folder and link trade places by renameat2's atomic exchange (python3's ctypes); the folder is put back.
constexpr char kExchangeLoop[] =
    "exec('import ctypes,os,sys,time\\na,b,t,s=sys.argv[1:5];os.symlink(t,b);l=ctypes.CDLL(None)\\n"
    "x=lambda:l.renameat2(-100,a.encode(),-100,b.encode(),2)\\nwhile not os.path.exists(s):\\n x();time.sleep(.001)\\n"
    "if os.path.islink(a):x()\\nif os.path.islink(b):os.unlink(b)\\nelif os.path.isdir(b):os.rename(b,a)\\n"
    "os.unlink(s)')";

HostLinkSwapper::HostLinkSwapper(FolderForLink, const std::string& folder, const std::string& target)
    : link_(folder) {
    const std::string a = HostPath(folder), t = HostPath(target), s = HostPath(folder + ".stop");
    if (a.empty() || t.empty() || s.empty()) return;
    const std::string arguments =
        std::string("-c \"") + kExchangeLoop + "\" \"" + a + "\" \"" + t + ".swap\" \"" + t + "\" \"" + s + "\"";
    started_ = StartHostProgram("\\\\?\\unix\\usr\\bin\\python3", arguments);
    for (int i = 0; started_ && i < 2000 && !(::GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT); ++i)
        ::Sleep(1);
}

HostLinkSwapper::~HostLinkSwapper() {
    if (!started_) return;
    platform::UniqueFile stop(::CreateFileA((link_ + ".stop").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    stop.reset();
    WaitForAttributes(link_ + ".stop", [](DWORD attributes) { return attributes == INVALID_FILE_ATTRIBUTES; });
}

}  // namespace testsupport
