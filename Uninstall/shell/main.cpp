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

static WNDPROC g_paneProc = NULL;
static int g_paneRedrawPending = 0;
static const UINT_PTR PANE_REDRAW_TIMER = 1;
static const UINT PANE_REDRAW_DELAY = 100;

// Drawing the pane's scroll bars costs far more than inserting a report (under Wine about
// 70 times more), so while reports arrive the pane is drawn at most every PANE_REDRAW_DELAY ms:
// it is marked not visible (what WM_SETREDRAW FALSE does, which Wine's edit control ignores)
// and shown again by a timer. Each report is still in the pane when LogMessage returns.
static void SetPaneDrawn(HWND pane, int drawn)
{
    LONG style = GetWindowLongA(pane, GWL_STYLE);
    SetWindowLongA(pane, GWL_STYLE, drawn ? style | WS_VISIBLE : style & ~WS_VISIBLE);
}

static LRESULT CALLBACK PaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == EM_REPLACESEL && !g_paneRedrawPending && SetTimer(pane, PANE_REDRAW_TIMER, PANE_REDRAW_DELAY, NULL)) {
        g_paneRedrawPending = 1;
        SetPaneDrawn(pane, 0);
    } else if (message == WM_TIMER && wParam == PANE_REDRAW_TIMER) {
        KillTimer(pane, PANE_REDRAW_TIMER);
        g_paneRedrawPending = 0;
        SetPaneDrawn(pane, 1);
        RedrawWindow(pane, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
        return 0;
    }
    return CallWindowProcA(g_paneProc, pane, message, wParam, lParam);
}

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
    HWND pane = GetDlgItem(dialog, IDC_PROGRESS);
    SendMessageA(pane, EM_SETLIMITTEXT, 0, 0);
    g_paneProc = (WNDPROC)SetWindowLongPtrA(pane, GWLP_WNDPROC, (LONG_PTR)PaneProc);
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
    // OK pressed by a sent message (BM_CLICK from another program) lands here inside the
    // loop's GetMessageA, which goes on blocking until something is posted; without this the
    // loop might never get back to waiting on the worker and never see the run end.
    PostMessageA(dialog, WM_NULL, 0, 0);
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
