#include <windows.h>

#include "remover/engine/dll_search.h"
#include "remover/front/remover_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    remover::RestrictDllSearch();
    return remover::RunRemoverProgram(instance);
}
