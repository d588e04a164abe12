// A stand-in web browser for the demo machine: it carries the version resource
// by which the installer recognises Firefox, and does nothing when started.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
