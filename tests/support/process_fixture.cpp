#include "tests/support/process_fixture.h"

#include <vector>

#include "platform/unique_resource.h"
#include "tests/support/file_fixture.h"

namespace testsupport {

DWORD RunAndWait(const std::string& commandLine, DWORD timeoutMs) {
    std::vector<char> text(commandLine.begin(), commandLine.end());
    text.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, text.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return ~0u;
    platform::UniqueHandle process(info.hProcess);
    platform::UniqueHandle thread(info.hThread);
    if (::WaitForSingleObject(process.get(), timeoutMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.get(), 1);
        return ~0u;
    }
    DWORD code = ~0u;
    ::GetExitCodeProcess(process.get(), &code);
    return code;
}

DWORD RunRemover(const std::string& arguments, DWORD timeoutMs) {
    return RunAndWait("\"" + FixturePath("meridremover.exe") + "\" " + arguments, timeoutMs);
}

}  // namespace testsupport
