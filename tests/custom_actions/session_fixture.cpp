#include "tests/custom_actions/session_fixture.h"

#include <vector>

#include "platform/optional_proc.h"
#include "tests/support/file_fixture.h"

namespace testsupport {

std::wstring Widen(const std::string& text) {
    if (text.empty()) return {};
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

std::wstring PineconePath() { return Widen(FixturePath("msi_pinecone.dll")); }
std::wstring SessionPackagePath() { return Widen(FixturePath("session_test.msi")); }

SessionFixture::SessionFixture() : SessionFixture(SessionPackagePath()) {}

SessionFixture::SessionFixture(const std::wstring& packagePath) {
    ::MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
    MSIHANDLE opened = 0;
    if (::MsiOpenPackageW(packagePath.c_str(), &opened) == ERROR_SUCCESS) session_.reset(opened);
}

void SessionFixture::SetProperty(const std::wstring& name, const std::wstring& value) {
    ::MsiSetPropertyW(session_.get(), name.c_str(), value.c_str());
}

std::wstring SessionFixture::GetProperty(const std::wstring& name) {
    DWORD count = 0;
    wchar_t empty[1] = {};
    if (::MsiGetPropertyW(session_.get(), name.c_str(), empty, &count) != ERROR_MORE_DATA) return {};
    std::vector<wchar_t> buffer(count + 1);
    count = static_cast<DWORD>(buffer.size());
    if (::MsiGetPropertyW(session_.get(), name.c_str(), buffer.data(), &count) != ERROR_SUCCESS) return {};
    return std::wstring(buffer.data(), count);
}

UINT SessionFixture::CallAction(const wchar_t* name) { return CallActionWithHandle(name, session_.get()); }

UINT SessionFixture::CallActionWithHandle(const wchar_t* name, MSIHANDLE session) {
    platform::UniqueModule module(::LoadLibraryW(PineconePath().c_str()));
    std::string exportName;
    for (const wchar_t* c = name; *c; ++c) exportName += static_cast<char>(*c);
    using ActionFn = UINT(__stdcall*)(MSIHANDLE);
    const auto action = platform::GetOptionalProc<ActionFn>(module.get(), exportName.c_str());
    return action ? action(session) : ~0u;
}

testing::AssertionResult RunInSession(const wchar_t* action, const Properties& inputs, const Properties& expected) {
    SessionFixture session;
    if (!session.valid()) return testing::AssertionFailure() << "the session package did not open";
    for (const auto& [name, value] : inputs) session.SetProperty(name, value);
    const UINT result = session.CallAction(action);
    if (result != 0) return testing::AssertionFailure() << "the action returned " << result;
    testing::AssertionResult outcome = testing::AssertionSuccess();
    for (const auto& [name, value] : expected) {
        const std::wstring actual = session.GetProperty(name);
        if (actual == value) continue;
        if (outcome) outcome = testing::AssertionFailure();
        outcome << "\n  " << testing::PrintToString(name) << " is " << testing::PrintToString(actual)
                << ", expected " << testing::PrintToString(value);
    }
    return outcome;
}

}  // namespace testsupport
