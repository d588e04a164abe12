#pragma once
// A real Windows Installer session on a small test package, and the custom
// actions of msi_pinecone.dll called through their exports, as the installer
// itself calls them.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <string>

#include "platform/unique_resource.h"

namespace testsupport {

class SessionFixture {
public:
    // Opens session_test.msi (built beside the tests) or the given package.
    SessionFixture();
    explicit SessionFixture(const std::wstring& packagePath);
    ~SessionFixture();
    SessionFixture(const SessionFixture&) = delete;
    SessionFixture& operator=(const SessionFixture&) = delete;

    // False when the package did not open; tests ASSERT on it first.
    bool valid() const { return session_ != 0; }
    MSIHANDLE handle() const { return session_; }

    void SetProperty(const std::wstring& name, const std::wstring& value);
    std::wstring GetProperty(const std::wstring& name);

    // Calls msi_pinecone.dll's export with this session; ~0u when the DLL or
    // the export is missing.
    UINT CallAction(const wchar_t* name);
    // The same with any handle, such as 0 for a session that cannot be read.
    static UINT CallActionWithHandle(const wchar_t* name, MSIHANDLE session);

private:
    MSIHANDLE session_ = 0;
};

// msi_pinecone.dll and session_test.msi beside the test program.
std::wstring PineconePath();
std::wstring SessionPackagePath();
std::wstring Widen(const std::string& text);

}  // namespace testsupport
