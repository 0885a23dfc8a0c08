// A library that is no component: it exports no DllUnregisterServer.
#include <windows.h>

extern "C" __declspec(dllexport) int WINAPI ZelvoPlain(void)
{
    return 1;
}
