// Progress reporting: every text the run reports goes into the pane of the main window.
#pragma once
#include <windows.h>

extern HWND g_mainWindow;

// Formats a text (printf style) and appends it to the progress pane, from any thread.
// The text is in the pane when the call returns; with no window it is lost.
void LogMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));
