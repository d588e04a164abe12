#include <windows.h>

#include "remover/front/remover_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return remover::RunRemoverProgram(instance, ::GetCommandLineA());
}
