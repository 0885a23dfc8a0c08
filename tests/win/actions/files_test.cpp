// File entries: which files are unregistered before deletion, how the guard contains what
// components do, and the warning box for a component that cannot be loaded.
#include <gtest/gtest.h>

#include <regex>

#include "action_support.h"
#include "actions/files.h"

namespace {

const char* const HEADER = "Tool will now be uninstalled\r\n";
const char* const DONE = "Done. Press [Close] to exit.";
const char* const DELETED = " .. Deleted.\r\n";
const char* const FAILED = " .. Failed to delete file.\r\n";

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override { folder = MakeScratchFolder(); }
    std::string In(const std::string& name) const { return folder + "\\" + name; }
    static std::string Trace(const std::string& path) { return ReadBytes(path + ".unregistered"); }
    static std::string FileEntry(const std::string& path) { return "f    0 0 " + path; }
    static std::string Deleting(const std::string& path) { return "Deleting file " + path + " "; }
    std::string folder;
};

TEST_F(FilesTest, OnlyComponentsAreUnregisteredBeforeDeletion)
{
    struct Case {
        const char* name;
        bool component;
    } cases[] = {
        // Names differ in more than case: the file system does not tell X.DLL from x.Dll.
        {"a.dll", true},        {"X.DLL", true},      {"m.Dll", true},      {"Y.OCX", true},
        {"lib.dll.old", false}, {"data.ocxx", false}, {"viewer.exe", false},
    };
    std::vector<std::string> entries;
    std::string pane = HEADER;
    for (const Case& c : cases) {
        CopyLibrary("zelvo_component.dll", In(c.name));
        entries.push_back(FileEntry(In(c.name)));
        pane += Deleting(In(c.name)) + DELETED;
    }
    // Four characters are no component even when they are ".dll"; an empty path is no file.
    CopyLibrary("zelvo_component.dll", In(".dll"));
    entries.push_back(FileEntry(".dll"));
    entries.push_back(FileEntry(""));
    pane += Deleting(".dll") + DELETED + Deleting("") + FAILED + DONE;

    BoxWatch watch;
    EXPECT_EQ(pane, RunEntries(entries, watch).pane);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(FileExists(In(c.name)));
        EXPECT_EQ(c.component ? "called" : "", Trace(In(c.name)));
    }
    EXPECT_EQ("", Trace(In(".dll")));
    EXPECT_TRUE(watch.boxes.empty());
}

// Several failing components in one run, then ordinary ones: the guard must leave nothing
// behind (a loader lock held, a filter installed) that stops the later ones or the exit.
TEST_F(FilesTest, GuardContainsWhatComponentsRaise)
{
    struct Case {
        const char* name;
        const char* trace;  // what DllUnregisterServer left
        bool deleted;
        int loadError;  // LoadLibrary failed with it, 0 when it did not fail
    } cases[] = {
        // A failure inside DllUnregisterServer leaves the module loaded, so it stays.
        {"f-unreg-av.dll", "called", false, 0},
        {"f-unreg-div.dll", "called", false, 0},
        {"f-unreg-ill.dll", "called", false, 0},
        {"f-unreg-raise.dll", "called", false, 0},
        {"f-unreg-throw.dll", "called", false, 0},
        // Wine's loader catches a fault in DllMain itself: the load fails with the fault's
        // code (an access violation as 998), the release goes through.
        {"f-load-av.dll", "", true, 998},
        {"f-load-div.dll", "", true, (int)EXCEPTION_INT_DIVIDE_BY_ZERO},
        {"f-load-ill.dll", "", true, (int)EXCEPTION_ILLEGAL_INSTRUCTION},
        {"f-release-av.dll", "called", true, 0},
        {"f-release-div.dll", "called", true, 0},
        {"f-release-ill.dll", "called", true, 0},
        // What follows must work as if nothing had happened.
        {"c-unreg-catch.dll", "called caught", true, 0},
        {"c-unreg-status.dll", "called", true, 0},
        {"plain.dll", "", true, 0},
        {"c.dll", "called", true, 0},
    };
    std::vector<std::string> entries;
    std::vector<std::string> boxes;
    std::string pane = HEADER;
    for (const Case& c : cases) {
        CopyLibrary(strcmp(c.name, "plain.dll") == 0 ? "zelvo_plain.dll" : "zelvo_component.dll", In(c.name));
        entries.push_back(FileEntry(In(c.name)));
        pane += Deleting(In(c.name)) + (c.deleted ? DELETED : FAILED);
        if (c.loadError)
            boxes.push_back("RegisterActiveX(" + In(c.name) + "): LoadLibrary() failed (" + std::to_string(c.loadError) + ")");
    }
    pane += DONE;

    BoxWatch watch;
    PaneRun run = RunEntries(entries, watch);
    EXPECT_EQ(pane, run.pane);
    EXPECT_EQ(0, run.result);
    EXPECT_EQ(boxes, watch.Texts());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.trace, Trace(In(c.name)));
        EXPECT_EQ(!c.deleted, FileExists(In(c.name)));
    }

    // Loading and releasing still work on a thread of their own, and so does the guard.
    CopyLibrary("zelvo_component.dll", In("after.dll"));
    CopyLibrary("zelvo_component.dll", In("after-unreg-av.dll"));
    int results[2] = {-1, -1};
    CallWatched([&] { results[0] = DeleteFileAndUnregister(In("after-unreg-av.dll").c_str()); }, watch);
    CallWatched([&] { results[1] = DeleteFileAndUnregister(In("after.dll").c_str()); }, watch);
    EXPECT_EQ(0, results[0]);
    EXPECT_NE(0, results[1]);
    EXPECT_EQ("called", Trace(In("after.dll")));
}

TEST_F(FilesTest, RegisterActiveXSucceedsOnlyOnStatusZero)
{
    struct Case {
        const char* name;
        const char* library;
        int result;
    } cases[] = {
        {"ok.dll", "zelvo_component.dll", 1},
        {"s-unreg-catch.dll", "zelvo_component.dll", 1},
        {"s-unreg-status.dll", "zelvo_component.dll", 0},
        {"s-unreg-sfalse.dll", "zelvo_component.dll", 0},
        {"plain.dll", "zelvo_plain.dll", 0},
    };
    BoxWatch watch;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CopyLibrary(c.library, In(c.name));
        int result = -1;
        CallWatched([&] { result = RegisterActiveX(In(c.name).c_str()); }, watch);
        EXPECT_EQ(c.result, result);
        // Released again: the file can go.
        EXPECT_TRUE(DeleteFileA(In(c.name).c_str()));
    }
    EXPECT_TRUE(watch.boxes.empty());
}

TEST_F(FilesTest, MissingComponentWarnsWhileItsLineIsPending)
{
    std::string missing = In("missing.ocx");
    BoxWatch watch;
    PaneRun run = RunEntries({FileEntry(missing)}, watch);
    EXPECT_EQ(HEADER + Deleting(missing) + FAILED + DONE, run.pane);
    ASSERT_EQ(1u, watch.boxes.size());
    const WarningBox& box = watch.boxes[0];
    EXPECT_EQ("RegisterActiveX(" + missing + "): LoadLibrary() failed (126)", box.text);
    EXPECT_EQ(NULL, box.owner);
    EXPECT_EQ(1, box.buttons);
    EXPECT_EQ(HEADER + Deleting(missing), box.pane);
}

TEST_F(FilesTest, LongComponentPathIsCutInTheWarning)
{
    std::string missing = "C:\\" + std::string(1000, 'p') + ".dll";
    BoxWatch watch;
    RunEntries({FileEntry(missing)}, watch);
    ASSERT_EQ(1u, watch.boxes.size());
    const std::string& text = watch.boxes[0].text;
    EXPECT_EQ(1023u, text.size());
    EXPECT_EQ(0u, text.find("RegisterActiveX(C:\\ppp"));
    EXPECT_TRUE(std::regex_search(text, std::regex("p\\): LoadLibrary\\(\\) failed \\(\\d+\\)$"))) << text;
}

}  // namespace
