#include "files.h"

#include <windows.h>

#include <cstring>

#include "file_text.h"

// The unregistration guard. mingw-w64's g++ has no __try/__except, so the guard is made of
// the process's unhandled-exception filter and a context captured where the guard starts:
// a failure that no frame of the component handles reaches the filter, which resumes this
// thread at the captured point instead of letting the process end. Because only unhandled
// failures get there, a component's own handlers keep theirs, and a fault in DllMain that
// the loader catches itself never leaves the loader's lock held by a jump out of it.
namespace {

alignas(16) CONTEXT g_guardContext;
volatile DWORD g_guardThread;  // the thread the guard is armed on, 0 when disarmed
volatile LONG g_guardTripped;
LPTOP_LEVEL_EXCEPTION_FILTER g_previousFilter;
#if defined(__i386__)
void* volatile g_guardExceptionList;

// The head of the thread's frame-based handler chain, the first field of its TIB at fs:0.
void* ReadExceptionList()
{
    void* list;
    __asm__ volatile("movl %%fs:0, %0" : "=r"(list));
    return list;
}

void WriteExceptionList(void* list)
{
    __asm__ volatile("movl %0, %%fs:0" : : "r"(list) : "memory");
}
#endif

LONG WINAPI GuardFilter(EXCEPTION_POINTERS* exception)
{
    if (g_guardThread == GetCurrentThreadId() && !g_guardTripped) {
        g_guardTripped = 1;
        // Execution goes on at the guard's entry, never at the failing point, so even a
        // failure raised as non-continuable can be resumed from.
        exception->ExceptionRecord->ExceptionFlags &= ~EXCEPTION_NONCONTINUABLE;
        memcpy(exception->ContextRecord, &g_guardContext, sizeof g_guardContext);
        return EXCEPTION_CONTINUE_EXECUTION;
    }
    return g_previousFilter ? g_previousFilter(exception) : EXCEPTION_CONTINUE_SEARCH;
}

// Calls RegisterActiveX so that nothing raised inside it goes further. Like setjmp, the
// capture returns a second time after a failure; only the static state is read after it.
__attribute__((noinline)) void UnregisterGuarded(const char* path)
{
    g_guardTripped = 0;
    g_previousFilter = SetUnhandledExceptionFilter(GuardFilter);
#if defined(__i386__)
    g_guardExceptionList = ReadExceptionList();
#endif
    RtlCaptureContext(&g_guardContext);
    if (!g_guardTripped) {
        g_guardThread = GetCurrentThreadId();
        try {
            RegisterActiveX(path);
        } catch (...) {
            // A language exception is dropped as silently as a fault.
        }
    }
#if defined(__i386__)
    // Handlers registered by the abandoned frames must not stay linked to this thread.
    WriteExceptionList(g_guardExceptionList);
#endif
    g_guardThread = 0;
    SetUnhandledExceptionFilter(g_previousFilter);
}

}  // namespace

int DeleteFileAndUnregister(const char* path)
{
    if (IsComponentPath(path))
        UnregisterGuarded(path);
    return DeleteFileA(path);
}

int RegisterActiveX(const char* path)
{
    int result = 0;
    HMODULE module = LoadLibraryA(path);
    if ((UINT_PTR)module < 32) {
        int error = (int)GetLastError();
        char text[WARNING_TEXT_SIZE];
        FormatLoadWarning(text, sizeof text, path, error);
        MessageBoxA(NULL, text, "Warning", MB_OK);
        return 0;
    }
    typedef HRESULT(STDAPICALLTYPE * UnregisterServerProc)(void);
    UnregisterServerProc unregister =
        reinterpret_cast<UnregisterServerProc>(reinterpret_cast<void (*)(void)>(GetProcAddress(module, "DllUnregisterServer")));
    if (unregister && unregister() == 0)
        result = 1;
    FreeLibrary(module);
    return result;
}
