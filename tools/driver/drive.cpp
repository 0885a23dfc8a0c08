// Drives the real Uninstall.exe the way a user would: starts it in a folder, presses OK,
// waits for "Uninstall done.", reports the pane, and closes it. Used by the demonstration
// and the benchmark.
//   zelvo_drive [options] UNINSTALL_EXE FOLDER
//     --pane FILE      write the pane's text to FILE (default: standard output)
//     --hold FILE      once finished, wait until FILE exists before closing the window
//     --timeout SECS   give up after SECS seconds (default 600)
//     --user           leave OK to the user; wait until the program ends
//     --progman SERVER SETUP LOG
//                      while the program runs, our Program Manager SERVER serves "PROGMAN"
//                      in place of Wine's shell, with the groups of SETUP, logging to LOG
// Prints "seconds: S", "peak-memory-kb: K", "exit-code: C"; exits 0 when the run finished.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "find_window.h"

namespace {

std::string ControlText(HWND window, int id)
{
    HWND control = GetDlgItem(window, id);
    DWORD_PTR length = 0;
    SendMessageTimeoutA(control, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 10000, &length);
    std::vector<char> text(length + 1);
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(control, WM_GETTEXT, length + 1, (LPARAM)text.data(), SMTO_NORMAL, 10000, &copied);
    return std::string(text.data());
}

// Starts our Program Manager server and waits until it has registered "PROGMAN".
bool StartProgmanServer(const char* server, const char* setup, const char* log, PROCESS_INFORMATION* process)
{
    HANDLE ready = CreateEventA(NULL, TRUE, FALSE, "zelvo-drive-progman-ready");
    std::string commandLine = std::string("\"") + server + "\" \"" + setup + "\" \"" + log +
                              "\" zelvo-drive-progman-ready --replace-wine";
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    bool started = CreateProcessA(server, &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, process);
    HANDLE either[] = {ready, started ? process->hProcess : ready};
    started = started && WaitForMultipleObjects(2, either, FALSE, 15000) == WAIT_OBJECT_0;
    CloseHandle(ready);
    return started;
}

void StopProgmanServer(PROCESS_INFORMATION* process)
{
    PostThreadMessageA(process->dwThreadId, WM_QUIT, 0, 0);
    if (WaitForSingleObject(process->hProcess, 15000) != WAIT_OBJECT_0)
        TerminateProcess(process->hProcess, 1);
    CloseHandle(process->hThread);
    CloseHandle(process->hProcess);
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv)
{
    const char* paneFile = NULL;
    const char* holdFile = NULL;
    int timeout = 600;
    bool user = false;
    const char* progman[3] = {NULL, NULL, NULL};
    int i = 1;
    for (; i + 1 < argc && strncmp(argv[i], "--", 2) == 0; i += 2) {
        if (!strcmp(argv[i], "--user")) {
            user = true;
            --i;
        } else if (!strcmp(argv[i], "--progman") && i + 3 < argc) {
            progman[0] = argv[i + 1];
            progman[1] = argv[i + 2];
            progman[2] = argv[i + 3];
            i += 2;
        } else if (!strcmp(argv[i], "--pane"))
            paneFile = argv[i + 1];
        else if (!strcmp(argv[i], "--hold"))
            holdFile = argv[i + 1];
        else if (!strcmp(argv[i], "--timeout"))
            timeout = atoi(argv[i + 1]);
    }
    if (argc - i != 2) {
        fprintf(stderr, "usage: zelvo_drive [--pane FILE] [--hold FILE] [--timeout SECS] [--user]\n"
                        "                   [--progman SERVER SETUP LOG] UNINSTALL_EXE FOLDER\n");
        return 2;
    }
    const char* exe = argv[i];
    const char* folder = argv[i + 1];

    PROCESS_INFORMATION server;
    if (progman[0] && !StartProgmanServer(progman[0], progman[1], progman[2], &server)) {
        fprintf(stderr, "drive: the Program Manager server did not start\n");
        return 1;
    }

    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    std::string commandLine = std::string("\"") + exe + "\"";
    if (!CreateProcessA(exe, &commandLine[0], NULL, NULL, FALSE, 0, NULL, folder, &startup, &process)) {
        fprintf(stderr, "drive: cannot start %s (%lu)\n", exe, GetLastError());
        return 1;
    }

    HWND window = NULL;
    for (int tries = 0; !window && tries < 400; ++tries) {
        Sleep(25);
        window = FindUninstallWindow(process.dwProcessId);
    }
    if (!window) {
        fprintf(stderr, "drive: no window\n");
        TerminateProcess(process.hProcess, 1);
        return 1;
    }
    printf("product: %s\n", ControlText(window, 1001).c_str());

    LARGE_INTEGER started, now;
    QueryPerformanceCounter(&started);
    RECT frame;
    GetWindowRect(window, &frame);
    printf("window: %ld %ld %ld %ld\n", frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top);
    fflush(stdout);
    if (!user)
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(window, IDOK));
    bool finished = false;
    std::string pane;
    while (!finished) {
        Sleep(20);
        if (user) {
            // The user closes the window; keep the last look at the pane.
            if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0)
                break;
            pane = ControlText(window, 1000);
            finished = ControlText(window, 1001) == "Uninstall done.";
            continue;
        }
        QueryPerformanceCounter(&now);
        if (Seconds(started, now) > timeout)
            break;
        finished = ControlText(window, 1001) == "Uninstall done.";
    }
    QueryPerformanceCounter(&now);
    PROCESS_MEMORY_COUNTERS memory;
    memset(&memory, 0, sizeof memory);
    GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory);

    if (!user || finished)
        pane = ControlText(window, 1000);
    if (paneFile) {
        FILE* out = fopen(paneFile, "wb");
        if (out) {
            fwrite(pane.data(), 1, pane.size(), out);
            fclose(out);
        }
    } else {
        printf("%s\n", pane.c_str());
    }
    printf("finished: %s\nseconds: %.3f\npeak-memory-kb: %lu\n", finished ? "yes" : "no", Seconds(started, now),
           (unsigned long)(memory.PeakWorkingSetSize / 1024));
    fflush(stdout);

    while (holdFile && GetFileAttributesA(holdFile) == INVALID_FILE_ATTRIBUTES)
        Sleep(50);
    if (!user)
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(window, IDOK));
    if (WaitForSingleObject(process.hProcess, user ? INFINITE : 10000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    printf("exit-code: %d\n", (int)exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (progman[0])
        StopProgmanServer(&server);
    return finished ? 0 : 1;
}
