// The uninstall run, record to pane: each case is a record and the exact text it leaves.
#include <gtest/gtest.h>

#include <string>

#include "engine/progress.h"
#include "engine/run.h"
#include "test_support.h"

namespace {

const char* const DONE = "Done. Press [Close] to exit.";

std::string Sleeper(int milliseconds, const std::string& marker = "")
{
    std::string command = "\"" + SiblingPath("zelvo_sleep.exe") + "\" " + std::to_string(milliseconds);
    if (!marker.empty())
        command += " \"" + marker + "\"";
    return command;
}

class RunTest : public ::testing::Test {
protected:
    void SetUp() override { folder = MakeScratchFolder(); }
    std::string In(const std::string& name) const { return folder + "\\" + name; }
    PaneRun Run(const std::string& record)
    {
        WriteBytes(".UnInst.inf", record);
        return RunInPane(".UnInst.inf");
    }
    std::string folder;
};

TEST_F(RunTest, RecordsGiveTheirExactTranscript)
{
    struct Case {
        const char* name;
        std::string record;
        std::string pane;
    } cases[] = {
        {"empty record", "", std::string(" will now be uninstalled\r\n") + DONE},
        {"header only", "Tool 1.0\n", std::string("Tool 1.0 will now be uninstalled\r\n") + DONE},
        {"header without line feed", "Tool 1.0", std::string("Tool 1.0 will now be uninstalled\r\n") + DONE},
        {"unknown kinds and blank lines", "Tool\n\n\nF    0 0 x\nD   y\n x\nz   q\r\n\r\n",
         std::string("Tool will now be uninstalled\r\n") + DONE},
        {"lines that end before their payload", "Tool\nc\nf    0 0\nk  \ni\np    \nd",
         std::string("Tool will now be uninstalled\r\n") + DONE},
        {"file flags other than 0 0", "Tool\nf    0 1 C:\\nope.txt\nf    1 0 C:\\nope.txt\n",
         std::string("Tool will now be uninstalled\r\n") + DONE},
        {"format specifiers in a path", "Tool %s%d\nf    0 0 C:\\nope\\%s%d%n%x.txt\n",
         std::string("Tool %s%d will now be uninstalled\r\nDeleting file C:\\nope\\%s%d%n%x.txt  .. Failed to delete file.\r\n") + DONE},
        {"missing command", "Tool\nc   zelvo_no_such_program.exe /q\n",
         std::string("Tool will now be uninstalled\r\nExecuing 'zelvo_no_such_program.exe /q'... Failed! (2)\r\n") + DONE},
        {"Ctrl-Z hides what follows", "Tool\nf    0 0 C:\\a.txt\x1a\nf    0 0 C:\\b.txt\n",
         std::string("Tool will now be uninstalled\r\nDeleting file C:\\a.txt  .. Failed to delete file.\r\n") + DONE},
        {"two carriage returns keep one", "Tool\r\r\nf    0 0 C:\\a.txt\r\r\n",
         std::string("Tool\r will now be uninstalled\r\nDeleting file C:\\a.txt\r  .. Failed to delete file.\r\n") + DONE},
        {"NUL cuts a line", std::string("Tool\nc   zelvo_no_such_program.exe\0 rest\n", 40),
         std::string("Tool will now be uninstalled\r\nExecuing 'zelvo_no_such_program.exe'... Failed! (2)\r\n") + DONE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PaneRun run = Run(c.record);
        EXPECT_EQ(c.pane, run.pane);
        EXPECT_EQ(0, run.result);
        EXPECT_FALSE(FileExists(".UnInst.inf")) << "the record is deleted at the end";
    }
}

TEST_F(RunTest, LineEndingsDoNotChangeTheRun)
{
    std::string lines[] = {"Tool 2", "f    0 0 C:\\nope1.txt", "c   zelvo_no_such_program.exe", "f    0 0 C:\\nope2.txt"};
    std::string lf, crlf;
    for (const std::string& line : lines) {
        lf += line + "\n";
        crlf += line + "\r\n";
    }
    std::string expected = "Tool 2 will now be uninstalled\r\n"
                           "Deleting file C:\\nope2.txt  .. Failed to delete file.\r\n"
                           "Execuing 'zelvo_no_such_program.exe'... Failed! (2)\r\n"
                           "Deleting file C:\\nope1.txt  .. Failed to delete file.\r\n";
    EXPECT_EQ(expected + DONE, Run(lf).pane);
    EXPECT_EQ(expected + DONE, Run(crlf).pane);
}

TEST_F(RunTest, OneRecordIsUndoneLastLineFirst)
{
    // In file order: a directory, a file in it, a command that creates that file after a
    // moment. The command must end before the file is deleted, the file before the directory.
    CreateDirectoryA(In("app").c_str(), NULL);
    std::string file = In("app\\made-by-command.txt");
    std::string record = "Zelvo Demo\nd   " + In("app") + "\nf    0 0 " + file + "\nc   " + Sleeper(400, file) + "\n";
    PaneRun run = Run(record);
    EXPECT_EQ("Zelvo Demo will now be uninstalled\r\n"
              "Execuing '" + Sleeper(400, file) + "'... OK. Waiting...\r\n"
              "Deleting file " + file + "  .. Deleted.\r\n" + DONE,
              run.pane);
    EXPECT_FALSE(FileExists(file));
    EXPECT_FALSE(FolderExists(In("app")));
    EXPECT_FALSE(FileExists(".UnInst.inf"));
}

TEST_F(RunTest, DirectoryThatHoldsFilesStaysSilently)
{
    CreateDirectoryA(In("full").c_str(), NULL);
    WriteBytes(In("full\\keep.txt"), "x");
    PaneRun run = Run("Tool\nd   " + In("full") + "\n");
    EXPECT_EQ(std::string("Tool will now be uninstalled\r\n") + DONE, run.pane);
    EXPECT_TRUE(FileExists(In("full\\keep.txt")));
}

TEST_F(RunTest, LongLinesSplitIntoPiecesActedOnLastFirst)
{
    // 2,500 characters: pieces of 1,039, 1,039 and 422, each classified on its own.
    std::string piece1 = "d   " + std::string(1035, 'x');
    std::string piece2 = "c   zelvo_no_such_program.exe " + std::string(1039 - 30, 'y');
    std::string piece3 = "f    0 0 C:\\nope\\" + std::string(422 - 17, 'z');
    ASSERT_EQ(2500u, (piece1 + piece2 + piece3).size());
    PaneRun run = Run("Tool\n" + piece1 + piece2 + piece3 + "\n");
    EXPECT_EQ("Tool will now be uninstalled\r\n"
              "Deleting file " + piece3.substr(9) + "  .. Failed to delete file.\r\n"
              "Execuing '" + piece2.substr(4) + "'... Failed! (2)\r\n" + DONE,
              run.pane);
}

TEST_F(RunTest, LineOfExactly1039CharactersLeavesItsLineFeedAsAnEmptyEntry)
{
    std::string line = "f    0 0 C:\\" + std::string(1039 - 12, 'q');
    std::string header(1100, 'H');  // the header's rest, past 1,039 characters, is an entry piece
    PaneRun run = Run(header + "\n" + line + "\n");
    EXPECT_EQ(std::string(1039, 'H') + " will now be uninstalled\r\n"
              "Deleting file " + line.substr(9) + "  .. Failed to delete file.\r\n" + DONE,
              run.pane);
}

TEST_F(RunTest, NoRecordStopsWithoutTouchingAnything)
{
    PaneRun run = RunInPane(".UnInst.inf");
    EXPECT_EQ("Unable to open .UnInst.inf\r\nPress ENTER to exit.", run.pane);
    EXPECT_EQ(-1, run.result);
}

TEST_F(RunTest, ArgumentsNameTheRecordAndSlashesAreReported)
{
    WriteBytes("other.inf", "Other\n");
    WriteBytes(".UnInst.inf", "Default\n");
    PaneRun run = RunInPane("other.inf", nullptr, "/silent");
    EXPECT_EQ(std::string("Unknown argument /silent\r\nOther will now be uninstalled\r\n") + DONE, run.pane);
    EXPECT_FALSE(FileExists("other.inf"));
    EXPECT_TRUE(FileExists(".UnInst.inf"));
}

TEST_F(RunTest, ReportsKeepLandingAtTheEndAfterAClickInThePane)
{
    std::string record = "Tool\nf    0 0 C:\\nope-after.txt\nc   " + Sleeper(600) + "\nf    0 0 C:\\nope-before.txt\n";
    WriteBytes(".UnInst.inf", record);
    bool clicked = false;
    PaneRun run = RunInPane(".UnInst.inf", [&](HWND pane) {
        if (clicked || WindowText(pane).find("Waiting") == std::string::npos)
            return;
        // A click at the top left of the pane, scrolled home, puts the caret in the first line,
        // far from the end where reports land.
        SendMessageA(pane, WM_HSCROLL, SB_LEFT, 0);
        SendMessageA(pane, WM_VSCROLL, SB_TOP, 0);
        SendMessageA(pane, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        SendMessageA(pane, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        DWORD start = 0;
        SendMessageA(pane, EM_GETSEL, (WPARAM)&start, 0);
        EXPECT_LT(start, (DWORD)SendMessageA(pane, EM_LINELENGTH, 0, 0)) << "the click did not move the caret";
        clicked = true;
    });
    EXPECT_TRUE(clicked);
    EXPECT_EQ("Tool will now be uninstalled\r\n"
              "Deleting file C:\\nope-before.txt  .. Failed to delete file.\r\n"
              "Execuing '" + Sleeper(600) + "'... OK. Waiting...\r\n"
              "Deleting file C:\\nope-after.txt  .. Failed to delete file.\r\n" + DONE,
              run.pane);
}

TEST(LogMessage, CutsTextsLongerThanItsBuffer)
{
    HWND host = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL, NULL, NULL);
    HWND pane = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE, 0, 0, 90, 90, host, (HMENU)1000, NULL, NULL);
    g_mainWindow = host;
    std::string huge(5000, 'a');
    LogMessage("%s", huge.c_str());
    EXPECT_EQ(std::string(2047, 'a'), WindowText(pane));
    g_mainWindow = NULL;
    LogMessage("no window: %s", "lost without failing");
    DestroyWindow(host);
}

}  // namespace
