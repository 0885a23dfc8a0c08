// Who answers "PROGMAN": used by the tests and by our own server, which takes the service
// over from Wine's shell before it registers.
#pragma once
#include <windows.h>
#include <ddeml.h>

#include <cstring>

inline HDDEDATA CALLBACK NoCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR)
{
    return 0;
}

// Connects to "PROGMAN" as a client: whether anyone answers, and the DDE server window of
// the one that does (the parent of its conversation window).
inline bool ProgmanAnswers(HWND* serverWindow = NULL)
{
    DWORD instance = 0;
    if (DdeInitializeA(&instance, NoCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
        return false;
    HSZ progman = DdeCreateStringHandleA(instance, "PROGMAN", CP_WINANSI);
    HCONV conversation = DdeConnect(instance, progman, progman, NULL);
    if (conversation) {
        CONVINFO info;
        memset(&info, 0, sizeof info);
        info.cb = sizeof info;
        if (serverWindow && DdeQueryConvInfo(conversation, QID_SYNC, &info))
            *serverWindow = GetParent(info.hwndPartner);
        DdeDisconnect(conversation);
    }
    DdeFreeStringHandle(instance, progman);
    DdeUninitialize(instance);
    return conversation != NULL;
}

// Wine's desktop registers a "PROGMAN" service of its own, which answers before any other.
// Closing its DDE server window silences it for the rest of the Wine session; nothing of
// Wine's can be unregistered otherwise. Repeating this is harmless.
inline bool SilenceWineProgman()
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        HWND server = NULL;
        if (!ProgmanAnswers(&server))
            return true;
        char className[64] = "";
        GetClassNameA(server, className, sizeof className);
        if (strcmp(className, "WineDdeServerName") != 0)
            return false;
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(server, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    }
    return !ProgmanAnswers();
}
