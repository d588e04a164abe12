// The file-type action of the installation package: registers or removes the
// current user's VRML file types as its "register:dde:command" value says.
#include <optional>

#include "custom_actions/actions.h"
#include "custom_actions/core/custom_action_data.h"
#include "custom_actions/file_type_registration.h"
#include "custom_actions/installer_session.h"

extern "C" UINT __stdcall RegisterFileExtension(MSIHANDLE session) {
    using namespace custom_actions;
    return RunAction([&] {
        wchar_t value[kCustomActionDataCapacity];
        // A value that cannot be read, or is too long, is never parsed: it
        // neither registers nor removes.
        if (ReadProperty(session, L"CustomActionData", value, kCustomActionDataCapacity) != ERROR_SUCCESS) return;
        const std::optional<custom_actions_core::FileTypeRequest> request =
            custom_actions_core::ParseCustomActionData(value);
        if (!request) return;
        if (request->registerTypes)
            RegisterFileTypes(request->command, request->withDde ? DdeVerb::kWith : DdeVerb::kWithout);
        else
            RemoveFileTypes();
    });
}
