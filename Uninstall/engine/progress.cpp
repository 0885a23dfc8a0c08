#include "progress.h"

#include <climits>
#include <cstdarg>
#include <cstdio>

#include "../shell/resource.h"

HWND g_mainWindow = NULL;

void LogMessage(const char* format, ...)
{
    char text[2048];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    text[sizeof text - 1] = '\0';  // a longer text is cut, whatever the runtime's vsnprintf does

    HWND pane = GetDlgItem(g_mainWindow, IDC_PROGRESS);
    // The caret goes to the end first: a click in the pane must not move where reports land.
    // Positions past the end are taken as the end.
    SendMessageA(pane, EM_SETSEL, (WPARAM)INT_MAX, (LPARAM)INT_MAX);
    SendMessageA(pane, EM_REPLACESEL, FALSE, (LPARAM)text);
}
