#include "action_support.h"

#include <gtest/gtest.h>

namespace {

struct BoxParts {
    std::string text;
    int buttons = 0;
};

BOOL CALLBACK ReadBoxChild(HWND child, LPARAM parameter)
{
    BoxParts* parts = (BoxParts*)parameter;
    char className[32];
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Button") == 0)
        ++parts->buttons;
    else if (lstrcmpiA(className, "Static") == 0)
        parts->text += WindowText(child);
    return TRUE;
}

DWORD WINAPI RunCall(LPVOID parameter)
{
    (*(const std::function<void()>*)parameter)();
    return 0;
}

}  // namespace

std::vector<std::string> BoxWatch::Texts() const
{
    std::vector<std::string> texts;
    for (const WarningBox& box : boxes)
        texts.push_back(box.text);
    return texts;
}

void BoxWatch::Check(HWND pane)
{
    HWND box = FindWindowA("#32770", "Warning");
    if (!box)
        return;
    BoxParts parts;
    EnumChildWindows(box, ReadBoxChild, (LPARAM)&parts);
    boxes.push_back({parts.text, GetWindow(box, GW_OWNER), parts.buttons, pane ? WindowText(pane) : ""});
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    // Wait until it is gone, handling messages, so that it is never counted twice.
    for (int i = 0; i < 500 && IsWindow(box); ++i) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(10);
    }
}

PaneRun RunEntries(const std::vector<std::string>& entries, BoxWatch& watch)
{
    std::string record = "Tool\n";
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry)
        record += *entry + "\n";
    WriteBytes(".UnInst.inf", record);
    return RunInPane(".UnInst.inf", [&watch](HWND pane) { watch.Check(pane); });
}

void CallWatched(const std::function<void()>& call, BoxWatch& watch)
{
    HANDLE worker = CreateThread(NULL, 0, RunCall, (LPVOID)&call, 0, NULL);
    for (;;) {
        DWORD woke = MsgWaitForMultipleObjects(1, &worker, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        if (woke == WAIT_OBJECT_0)
            break;
        watch.Check(NULL);
    }
    CloseHandle(worker);
}

void CopyLibrary(const char* library, const std::string& path)
{
    ASSERT_TRUE(CopyFileA(SiblingPath(library).c_str(), path.c_str(), FALSE)) << library << " to " << path;
}
