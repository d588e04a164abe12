#include "tests/support/registry_link.h"

#include <gtest/gtest.h>

#include "platform/registry_link.h"
#include "platform/unique_resource.h"

namespace testsupport {

void MakeRegistryLink(HKEY root, const std::string& path, const std::string& machineTarget) {
    // The keys above the link are made plain first: created along with a
    // volatile link they would be volatile too, and a later test could then
    // create no plain key below them (ERROR_CHILD_MUST_BE_VOLATILE).
    const size_t parentEnd = path.rfind('\\');
    if (parentEnd != std::string::npos) {
        platform::UniqueKey parent;
        ASSERT_EQ(::RegCreateKeyExA(root, path.substr(0, parentEnd).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    KEY_QUERY_VALUE, nullptr, parent.put(), nullptr),
                  ERROR_SUCCESS)
            << path;
    }
    platform::UniqueKey link;
    ASSERT_EQ(::RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK | REG_OPTION_VOLATILE,
                                KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, link.put(), nullptr),
              ERROR_SUCCESS)
        << path;
    // The target is a native key path, stored without a terminator.
    const std::string native = "\\Registry\\Machine\\" + machineTarget;
    const std::wstring wide(native.begin(), native.end());
    ASSERT_EQ(::RegSetValueExW(link.get(), L"SymbolicLinkValue", 0, REG_LINK,
                               reinterpret_cast<const BYTE*>(wide.c_str()),
                               static_cast<DWORD>(wide.size() * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

void RemoveRegistryLink(HKEY root, const std::string& path) {
    platform::UniqueKey link;
    if (::RegOpenKeyExA(root, path.c_str(), REG_OPTION_OPEN_LINK, DELETE | KEY_QUERY_VALUE, link.put()) ==
            ERROR_SUCCESS &&
        platform::IsRegistryLink(link.get()))
        platform::DeleteHeldKey(link.get());
}

}  // namespace testsupport
