// Stand-in for one Meridel component module. Built once per component with
// COMPONENT_CLASS_ID (a braced class identifier, or empty for components that
// are found through the product key only). DllRegisterServer records the
// module's own path as the class's in-process server in the machine-wide
// classes; DllUnregisterServer removes that registration again.
#include <windows.h>

#include <string>

#define MERIDEL_TEXT2(x) #x
#define MERIDEL_TEXT(x) MERIDEL_TEXT2(x)

namespace {

HMODULE g_self = nullptr;
const char kClassId[] = MERIDEL_TEXT(COMPONENT_CLASS_ID);

std::string ClassKey() { return std::string("Software\\Classes\\CLSID\\") + kClassId; }

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_self = instance;
        ::DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT __stdcall DllRegisterServer() {
    if (kClassId[0] != '{') return S_OK;
    char path[MAX_PATH] = {};
    if (::GetModuleFileNameA(g_self, path, MAX_PATH) == 0 || ::GetModuleFileNameA(g_self, path, MAX_PATH) >= MAX_PATH)
        return E_FAIL;
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, (ClassKey() + "\\InprocServer32").c_str(), 0, nullptr, 0,
                          KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return E_FAIL;
    const LONG status =
        ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path), lstrlenA(path) + 1);
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS ? S_OK : E_FAIL;
}

extern "C" HRESULT __stdcall DllUnregisterServer() {
    if (kClassId[0] != '{') return S_OK;
    const LONG status = ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, ClassKey().c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? S_OK : E_FAIL;
}
