// Shared pieces of the Windows tests: scratch folders, files, sibling programs, and a
// run of the uninstall engine into a real pane while this thread handles messages.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

// A fresh folder under the temporary folder; it becomes the current directory.
std::string MakeScratchFolder();
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
// A program or DLL that the build puts beside this test program.
std::string SiblingPath(const char* name);
// Text of a window or control, however long.
std::string WindowText(HWND window);

struct PaneRun {
    int result;        // what RunUninstall returned
    std::string pane;  // the pane's whole text afterwards
};

// Runs RunUninstall on a worker thread with {"this", args...}, reporting into a real
// multi-line edit control (id 1000 of g_mainWindow), while this thread handles messages.
// `during` is called on this thread now and then while the worker runs.
PaneRun RunInPane(const std::string& recordPath, std::function<void(HWND pane)> during = nullptr,
                  const char* extraArgument = nullptr);
