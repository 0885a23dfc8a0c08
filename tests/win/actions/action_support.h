// Pieces shared by the action tests: records run through the pane while warning boxes
// are watched for, and direct calls on a worker thread under the same watch.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "test_support.h"

// A "Warning" box that the worker showed, as the main thread found it.
struct WarningBox {
    std::string text;  // the message
    HWND owner;        // its owner window
    int buttons;       // how many buttons it has
    std::string pane;  // the pane's text while the box was up
};

// Finds the worker's warning boxes, notes each and dismisses it with OK.
struct BoxWatch {
    std::vector<WarningBox> boxes;
    std::vector<std::string> Texts() const;
    void Check(HWND pane);
};

// Writes a record of `entries` for the run to meet in the given order (so the file holds
// them last first) and runs it in the pane while the boxes are watched.
PaneRun RunEntries(const std::vector<std::string>& entries, BoxWatch& watch);

// Runs `call` on a worker thread of its own while this thread handles messages and
// watches for boxes, as the window shell's main loop would.
void CallWatched(const std::function<void()>& call, BoxWatch& watch);

// Copies a test library built beside the test to `path`.
void CopyLibrary(const char* library, const std::string& path);
