#pragma once
// A real Windows Installer session on a small test package, and the custom
// actions of msi_pinecone.dll called through their exports, as the installer
// itself calls them.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/unique_resource.h"

namespace testsupport {

struct MsiHandleTraits {
    using Type = MSIHANDLE;
    static Type Invalid() noexcept { return 0; }
    static void Close(Type handle) noexcept { ::MsiCloseHandle(handle); }
};
using UniqueMsiHandle = platform::UniqueResource<MsiHandleTraits>;

class SessionFixture {
public:
    // Opens session_test.msi (built beside the tests) or the given package.
    SessionFixture();
    explicit SessionFixture(const std::wstring& packagePath);

    // False when the package did not open; tests ASSERT on it first.
    bool valid() const { return session_.valid(); }
    MSIHANDLE handle() const { return session_.get(); }

    void SetProperty(const std::wstring& name, const std::wstring& value);
    std::wstring GetProperty(const std::wstring& name);

    // Calls msi_pinecone.dll's export with this session; ~0u when the DLL or
    // the export is missing.
    UINT CallAction(const wchar_t* name);
    // The same with any handle, such as 0 for a session that cannot be read.
    static UINT CallActionWithHandle(const wchar_t* name, MSIHANDLE session);

private:
    UniqueMsiHandle session_;
};

// Property names with their values, in the order they are set or checked.
using Properties = std::vector<std::pair<std::wstring, std::wstring>>;

// Calls the action in a fresh session after setting `inputs`. Succeeds when
// the package opened, the action returned 0 and every `expected` property
// then reads as given; the failure names each property that differs.
testing::AssertionResult RunInSession(const wchar_t* action, const Properties& inputs,
                                      const Properties& expected = {});

// msi_pinecone.dll and session_test.msi beside the test program.
std::wstring PineconePath();
std::wstring SessionPackagePath();
std::wstring Widen(const std::string& text);

}  // namespace testsupport
