// Finding the confirmation window of one running Uninstall.exe: shared by the driver and the
// end-to-end tests.
#pragma once
#include <windows.h>

#include <cstring>

namespace find_window_detail {
struct Search {
    DWORD processId;
    HWND window;
};

inline BOOL CALLBACK Visit(HWND window, LPARAM parameter)
{
    Search* search = (Search*)parameter;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char caption[64];
    if (processId == search->processId && IsWindowVisible(window) && GetWindowTextA(window, caption, sizeof caption) &&
        strcmp(caption, "Zelvo Uninstall") == 0) {
        search->window = window;
        return FALSE;
    }
    return TRUE;
}
}  // namespace find_window_detail

// The process's visible window captioned "Zelvo Uninstall" (it is shown once centred), or NULL.
inline HWND FindUninstallWindow(DWORD processId)
{
    find_window_detail::Search search = {processId, NULL};
    EnumWindows(find_window_detail::Visit, (LPARAM)&search);
    return search.window;
}
