// The program: the confirmation window, the worker that runs the uninstall, and the main loop.
#include <windows.h>
#include <ole2.h>

#include <cstdio>

#include "../engine/progress.h"
#include "../engine/record.h"
#include "../engine/run.h"
#include "resource.h"

static HINSTANCE g_instance = NULL;
static char g_productName[HEADER_BUFFER_SIZE];
static int g_startAllowed = 1;
static HANDLE g_workerThread = NULL;
static DWORD g_workerThreadId = 0;
static int g_workerRunning = 0;

// The eight input classes the loop wakes for: keys, mouse, posted, timer, paint, sent, hot keys.
static const DWORD WAKE_MASK = 0xFF;
static const DWORD WAIT_SLICE = 60000;
static const SIZE_T WORKER_STACK_SIZE = 8192;

static DWORD WINAPI UninstallThreadProc(LPVOID)
{
    char name[] = "this";
    char* argv[] = {name, (char*)g_recordPath, NULL};
    return (DWORD)RunUninstall(2, argv);
}

static void OnInitDialog(HWND dialog)
{
    char text[2000];
    snprintf(text, sizeof text, "This program will uninstall %s.\r\n\r\n Press OK to continue, Cancel to abort.",
             g_productName);
    SetDlgItemTextA(dialog, IDC_STATUS, text);
    // The pane is the whole account of a run: lift the edit control's default 32K limit.
    SendDlgItemMessageA(dialog, IDC_PROGRESS, EM_SETLIMITTEXT, 0, 0);
}

static void OnStart(HWND dialog)
{
    g_workerThread = CreateThread(NULL, WORKER_STACK_SIZE, UninstallThreadProc, NULL, 0, &g_workerThreadId);
    if (!g_workerThread) {
        // Nothing to wait on: stay in the confirming state and let the user try again or cancel.
        char text[200];
        snprintf(text, sizeof text, "The uninstall could not be started (error %lu).\r\n\r\n Press OK to try again, Cancel to abort.",
                 GetLastError());
        SetDlgItemTextA(dialog, IDC_STATUS, text);
        return;
    }
    g_startAllowed = 0;
    EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
    ShowWindow(GetDlgItem(dialog, IDCANCEL), SW_HIDE);
    g_workerRunning = 1;
}

static void OnCommand(HWND dialog, WPARAM command)
{
    switch (command) {
    case IDOK:
        if (g_startAllowed)
            OnStart(dialog);
        else
            PostQuitMessage(-1);  // "Close." after the run
        break;
    case IDCANCEL:
        PostQuitMessage(-1);
        break;
    }
}

static INT_PTR CALLBACK UninstallDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog);
        break;
    case WM_COMMAND:
        // The whole wParam: only a click (notification 0) counts.
        OnCommand(dialog, wParam);
        break;
    }
    return FALSE;
}

static int CreateMainWindow(HINSTANCE, int showCommand)
{
    g_mainWindow = CreateDialogParamA(g_instance, MAKEINTRESOURCEA(IDD_UNINSTALL), NULL, UninstallDlgProc, 0);
    if (!g_mainWindow)
        return 0;
    RECT window, screen;
    GetWindowRect(g_mainWindow, &window);
    int w = window.right - window.left;
    int h = window.bottom - window.top;
    GetClientRect(GetDesktopWindow(), &screen);
    int x = screen.right / 2 - w / 2;
    int y = screen.bottom - screen.bottom / 2 - h / 2;
    MoveWindow(g_mainWindow, x, y, w, h, TRUE);
    ShowWindow(g_mainWindow, showCommand);
    UpdateWindow(g_mainWindow);
    return 1;
}

// The worker has ended: the window turns into its finished state.
static void OnWorkerEnded()
{
    g_workerRunning = 0;
    DWORD exitCode;
    if (!GetExitCodeThread(g_workerThread, &exitCode))
        return;
    SetDlgItemTextA(g_mainWindow, IDC_STATUS, "Uninstall done.");
    SetDlgItemTextA(g_mainWindow, IDOK, "Close.");
    EnableWindow(GetDlgItem(g_mainWindow, IDOK), TRUE);
}

// Handles messages until the quit message; while the worker runs, also waits on its end.
// No IsDialogMessage: the window has no dialog keyboard interface.
static void RunMainLoop(MSG* msg)
{
    int running = 1;
    while (running) {
        if (g_workerRunning) {
            DWORD result = MsgWaitForMultipleObjects(g_workerRunning, &g_workerThread, FALSE, WAIT_SLICE, WAKE_MASK);
            if (result == WAIT_OBJECT_0) {
                OnWorkerEnded();
                continue;
            }
            // The peek also delivers what the worker has sent to the window.
            if (result != WAIT_OBJECT_0 + (DWORD)g_workerRunning || !PeekMessageA(msg, NULL, 0, 0, PM_NOREMOVE))
                continue;
        }
        do {
            if (!GetMessageA(msg, NULL, 0, 0)) {
                running = 0;
                break;
            }
            TranslateMessage(msg);
            DispatchMessageA(msg);
        } while (PeekMessageA(msg, NULL, 0, 0, PM_NOREMOVE));
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    g_instance = instance;
    OleInitialize(NULL);
    ReadRecordHeader(g_recordPath, g_productName, sizeof g_productName);
    if (!CreateMainWindow(instance, showCommand))
        return 0;
    MSG msg;
    msg.wParam = 0;
    RunMainLoop(&msg);
    OleUninitialize();
    return (int)msg.wParam;
}
