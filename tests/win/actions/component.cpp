// A test component whose behaviour is chosen by its file name, so that one build serves
// every case: "<anything>-<stage>-<kind>.dll" with stage load, unreg or release, and kind
//   av, div, ill  an access violation, an integer division by zero, an illegal instruction
//   raise         a non-continuable exception raised through RaiseException
//   throw         a C++ exception out of DllUnregisterServer
//   catch         a C++ exception thrown and caught inside it; then it succeeds
//   status, sfalse  DllUnregisterServer returns E_FAIL or S_FALSE
// Any other name unregisters successfully. Every call of DllUnregisterServer leaves its
// trace in "<module path>.unregistered" before anything else happens.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace {

char g_path[MAX_PATH];
char g_stage[16];
char g_kind[16];
volatile int g_zero = 0;

void ReadName()
{
    const char* name = strrchr(g_path, '\\');
    name = name ? name + 1 : g_path;
    for (const char* stage : {"load", "unreg", "release"}) {
        char token[20];
        snprintf(token, sizeof token, "-%s-", stage);
        const char* found = strstr(name, token);
        if (!found)
            continue;
        snprintf(g_stage, sizeof g_stage, "%s", stage);
        snprintf(g_kind, sizeof g_kind, "%.*s", (int)strcspn(found + strlen(token), "."), found + strlen(token));
    }
}

void Trace(const char* text)
{
    char path[MAX_PATH + 16];
    snprintf(path, sizeof path, "%s.unregistered", g_path);
    FILE* file = fopen(path, "ab");
    if (file) {
        fputs(text, file);
        fclose(file);
    }
}

bool Is(const char* stage, const char* kind)
{
    return strcmp(g_stage, stage) == 0 && strcmp(g_kind, kind) == 0;
}

void Fail(const char* stage)
{
    if (Is(stage, "av"))
        *(volatile int*)(INT_PTR)g_zero = 1;
    if (Is(stage, "div"))
        g_zero = 100 / g_zero;
    if (Is(stage, "ill"))
        __builtin_trap();
    if (Is(stage, "raise"))
        RaiseException(0xE0000042, EXCEPTION_NONCONTINUABLE, 0, NULL);
    if (Is(stage, "throw"))
        throw std::runtime_error("unregistration failed");
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        GetModuleFileNameA(instance, g_path, sizeof g_path);
        ReadName();
        Fail("load");
    }
    // Only an explicit release faults, never the process's end.
    if (reason == DLL_PROCESS_DETACH && !reserved)
        Fail("release");
    return TRUE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllUnregisterServer(void)
{
    Trace("called");
    if (Is("unreg", "catch")) {
        try {
            throw std::runtime_error("handled inside");
        } catch (const std::exception&) {
            Trace(" caught");
        }
    }
    Fail("unreg");
    if (Is("unreg", "status"))
        return E_FAIL;
    if (Is("unreg", "sfalse"))
        return S_FALSE;
    return S_OK;
}
