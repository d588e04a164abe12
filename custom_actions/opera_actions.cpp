// Opera's action of the installation package, also run by InstallFinalize.
#include <vector>

#include "custom_actions/actions.h"
#include "custom_actions/installer_session.h"
#include "custom_actions/opera_settings.h"

extern "C" UINT __stdcall MakeOperaHappy(MSIHANDLE session) {
    using namespace custom_actions;
    return RunAction([&] {
        std::vector<wchar_t> appDir(kAppDirCapacity);
        if (ReadProperty(session, L"APPDIR", appDir.data(), kAppDirCapacity) != ERROR_SUCCESS || appDir[0] == L'\0')
            return;
        ConfigureOpera(appDir.data());
    });
}
