#include "test_support.h"

#include <cstdio>
#include <vector>

#include "engine/progress.h"
#include "engine/run.h"
#include "shell/resource.h"

std::string MakeScratchFolder()
{
    static int counter = 0;
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    char folder[MAX_PATH];
    snprintf(folder, sizeof folder, "%szelvo-%lu-%d", temp, GetCurrentProcessId(), ++counter);
    CreateDirectoryA(folder, NULL);
    SetCurrentDirectoryA(folder);
    return folder;
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        return;
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

std::string ReadBytes(const std::string& path)
{
    std::string bytes;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return bytes;
    char chunk[4096];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.append(chunk, got);
    fclose(file);
    return bytes;
}

bool FileExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string SiblingPath(const char* name)
{
    char self[MAX_PATH];
    GetModuleFileNameA(NULL, self, sizeof self);
    std::string path = self;
    return path.substr(0, path.find_last_of("\\/") + 1) + name;
}

std::string WindowText(HWND window)
{
    int length = GetWindowTextLengthA(window);
    std::vector<char> text(length + 1);
    GetWindowTextA(window, text.data(), length + 1);
    return std::string(text.data());
}

namespace {
struct WorkerArguments {
    std::vector<char*> argv;
};

DWORD WINAPI RunWorker(LPVOID parameter)
{
    WorkerArguments* arguments = (WorkerArguments*)parameter;
    return (DWORD)RunUninstall((int)arguments->argv.size(), arguments->argv.data());
}
}  // namespace

PaneRun RunInPane(const std::string& recordPath, std::function<void(HWND pane)> during, const char* extraArgument)
{
    HWND host = CreateWindowExA(0, "STATIC", "pane host", WS_OVERLAPPEDWINDOW, 0, 0, 640, 400, NULL, NULL, NULL, NULL);
    HWND pane = CreateWindowExA(0, "EDIT", "",
                                WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY,
                                4, 4, 620, 360, host, (HMENU)(INT_PTR)IDC_PROGRESS, NULL, NULL);
    SendMessageA(pane, EM_SETLIMITTEXT, 0, 0);

    // Each test is a run of its own: the program would start with an empty list.
    g_entryList = NULL;
    g_recordPath = ".UnInst.inf";
    g_mainWindow = host;

    static char self[] = "this";
    std::string path = recordPath;
    std::string extra = extraArgument ? extraArgument : "";
    WorkerArguments arguments;
    arguments.argv.push_back(self);
    if (extraArgument)
        arguments.argv.push_back(&extra[0]);
    arguments.argv.push_back(&path[0]);

    HANDLE worker = CreateThread(NULL, 0, RunWorker, &arguments, 0, NULL);
    for (;;) {
        DWORD woke = MsgWaitForMultipleObjects(1, &worker, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (woke == WAIT_OBJECT_0)
            break;
        if (during)
            during(pane);
    }
    DWORD exitCode = 0;
    GetExitCodeThread(worker, &exitCode);
    CloseHandle(worker);

    PaneRun run;
    run.result = (int)exitCode;
    run.pane = WindowText(pane);
    g_mainWindow = NULL;
    DestroyWindow(host);
    return run;
}
