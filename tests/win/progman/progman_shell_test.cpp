// Program Manager entries against Wine's own Program Manager service, which its desktop
// registers under "PROGMAN". Its [DeleteItem] deletes "<item>.lnk" in the group's folder
// under the Start Menu's Programs; it answers no request for a group's contents.
#include <gtest/gtest.h>
#include <windows.h>
#include <ddeml.h>
#include <shlobj.h>

#include <string>

#include "actions/progman.h"
#include "test_support.h"

namespace {

HDDEDATA CALLBACK NoCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR)
{
    return 0;
}

bool ProgmanAnswers()
{
    DWORD instance = 0;
    if (DdeInitializeA(&instance, NoCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
        return false;
    HSZ progman = DdeCreateStringHandleA(instance, "PROGMAN", CP_WINANSI);
    HCONV conversation = DdeConnect(instance, progman, progman, NULL);
    if (conversation)
        DdeDisconnect(conversation);
    DdeFreeStringHandle(instance, progman);
    DdeUninitialize(instance);
    return conversation != NULL;
}

TEST(WineProgramManager, RemovesTheItemShortcutAndLeavesTheGroup)
{
    ASSERT_TRUE(ProgmanAnswers()) << "Wine's PROGMAN service must still run: this test goes before the ones that close it";
    char programs[MAX_PATH] = "";
    ASSERT_EQ(S_OK, SHGetFolderPathA(NULL, CSIDL_PROGRAMS, NULL, 0, programs));
    std::string group = std::string(programs) + "\\Zelvo Tools";
    CreateDirectoryA(group.c_str(), NULL);
    // Wine deletes the file by its name alone; its content does not matter.
    WriteBytes(group + "\\Read Me.lnk", "shortcut");
    WriteBytes(group + "\\Notes.lnk", "shortcut");
    ASSERT_TRUE(FileExists(group + "\\Read Me.lnk"));

    MakeScratchFolder();
    WriteBytes(".UnInst.inf", "Tool\np     Zelvo Tools@Notes\np     Zelvo Tools@Read Me\n");
    PaneRun run = RunInPane(".UnInst.inf");

    EXPECT_EQ("Tool will now be uninstalled\r\nDone. Press [Close] to exit.", run.pane) << "both commands were accepted";
    EXPECT_FALSE(FileExists(group + "\\Read Me.lnk"));
    EXPECT_FALSE(FileExists(group + "\\Notes.lnk"));
    // Empty now, but Wine's service answers no group request: unknown counts as not empty.
    EXPECT_TRUE(FolderExists(group));
    EXPECT_EQ(0u, g_ddeInstance);
    RemoveDirectoryA(group.c_str());
}

}  // namespace
