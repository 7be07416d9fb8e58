// The library's entry point: Zentavo does nothing of its own on load or
// unload; the host drives it through ordinals 240 and 241.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
