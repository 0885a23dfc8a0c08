// Program Manager entries against a Program Manager of our own (zelvo_progman_server.exe),
// whose log shows every command with its exact bytes and count, every request, and which
// conversation each came on. Wine's own "PROGMAN" service is closed first so that ours answers.
#include <gtest/gtest.h>
#include <windows.h>
#include <ddeml.h>

#include <cstring>
#include <string>

#include "actions/progman.h"
#include "progman_peer.h"
#include "test_support.h"

namespace {

const std::string HEADER = "Tool will now be uninstalled\r\n";
const std::string DONE = "Done. Press [Close] to exit.";
const std::string ITEM_FAILED = "****DdeClientTransaction Failed";

// What the server receives for "Tools@Read Me" before the group is deleted or not: the
// item deletion on one conversation, then the request naming the group on another.
const std::string ITEM_THEN_REQUEST = "connect 1\n"
                                      "execute 1 20 [ShowGroup(Tools,1)]\n"
                                      "execute 1 22 [DeleteItem(Read Me)]\\0\n"
                                      "disconnect 1\n"
                                      "connect 2\n"
                                      "request 2 Tools\n"
                                      "disconnect 2\n";


class ProgmanTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = MakeScratchFolder();
        ASSERT_TRUE(SilenceWineProgman()) << "something that is not Wine's shell answers \"PROGMAN\"";
    }
    void TearDown() override { StopServer(); }

    // Starts our server with these setup lines and waits until it has registered.
    void StartServer(const std::string& setup)
    {
        static int started = 0;
        WriteBytes(folder + "\\setup.txt", setup);
        DeleteFileA((folder + "\\server.log").c_str());
        std::string event = "zelvo-progman-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++started);
        HANDLE ready = CreateEventA(NULL, TRUE, FALSE, event.c_str());
        std::string command = "\"" + SiblingPath("zelvo_progman_server.exe") + "\" \"" + folder + "\\setup.txt\" \"" +
                              folder + "\\server.log\" " + event;
        STARTUPINFOA startup;
        memset(&startup, 0, sizeof startup);
        startup.cb = sizeof startup;
        ASSERT_TRUE(CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &server));
        HANDLE waits[] = {ready, server.hProcess};
        DWORD woke = WaitForMultipleObjects(2, waits, FALSE, 10000);
        CloseHandle(ready);
        ASSERT_EQ(WAIT_OBJECT_0, woke) << "the server did not register";
    }

    // Stops the server and gives its log.
    std::string StopServer()
    {
        if (!server.hProcess)
            return "";
        PostThreadMessageA(server.dwThreadId, WM_QUIT, 0, 0);
        if (WaitForSingleObject(server.hProcess, 10000) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "the server did not stop";
            TerminateProcess(server.hProcess, 1);
            WaitForSingleObject(server.hProcess, 5000);
        }
        CloseHandle(server.hThread);
        CloseHandle(server.hProcess);
        memset(&server, 0, sizeof server);
        return ReadBytes(folder + "\\server.log");
    }

    // Runs a record with these entry lines (the last runs first) and gives what the entries
    // wrote into the pane, between the header and the final text.
    std::string RunEntries(const std::string& entries)
    {
        WriteBytes(".UnInst.inf", "Tool\n" + entries);
        PaneRun run = RunInPane(".UnInst.inf");
        EXPECT_EQ(0u, g_ddeInstance);
        size_t end = run.pane.size() - DONE.size();
        EXPECT_EQ(0u, run.pane.find(HEADER)) << run.pane;
        EXPECT_EQ(end, run.pane.rfind(DONE)) << run.pane;
        return run.pane.substr(HEADER.size(), end - HEADER.size());
    }

    std::string folder;
    PROCESS_INFORMATION server = {};
};

TEST_F(ProgmanTest, ItemGoesOnOneConversationThenTheGroupIsAsked)
{
    ASSERT_NO_FATAL_FAILURE(StartServer("group Tools\nitem Read Me\nitem Notes\n"));
    EXPECT_EQ("", RunEntries("p     Tools@Read Me\n"));
    EXPECT_EQ(ITEM_THEN_REQUEST + "group Tools: Notes\n", StopServer());
}

TEST_F(ProgmanTest, GroupLeftEmptyIsDeleted)
{
    ASSERT_NO_FATAL_FAILURE(StartServer("group Tools\nitem Read Me\ngroup Games\nitem Mines\n"));
    EXPECT_EQ("", RunEntries("p     Tools@Read Me\n"));
    // The show-group after the deletion is refused, since the group is gone; that says nothing.
    EXPECT_EQ(ITEM_THEN_REQUEST +
              "connect 3\n"
              "execute 3 21 [DeleteGroup(Tools)]\\0\n"
              "execute 3 20 [ShowGroup(Tools,1)]\n"
              "disconnect 3\n"
              "group Games: Mines\n",
              StopServer());
}

TEST_F(ProgmanTest, RepliesDecideWhetherTheGroupGoes)
{
    struct Case {
        const char* name;
        const char* mode;  // a setup line: the reply, byte for byte, or no answer at all
        bool deleted;
    } cases[] = {
        {"count 3", "reply \"Tools\",C:/TOOLS.GRP,3,1\\r\\n", false},
        {"two fields", "reply \"Tools\",C:/TOOLS.GRP", false},
        {"blanks before the 0", "reply Tools,C:/TOOLS.GRP,   0", true},
        {"line break after the 0", "reply Tools,C:/TOOLS.GRP,0\\r\\n\"Read Me\",x,1", true},
        {"a letter, two commas and a 0", "reply a,,0", false},
        {"no digits in the count", "reply Tools,C:/TOOLS.GRP,none,1", false},
        {"quoted name holding a comma, count 0", "reply \"Tools, Misc\",C:/MISC.GRP,0,1\\0", true},
        {"quoted name holding a comma, count 2", "reply \"Tools, Misc\",C:/MISC.GRP,2,1\\0", false},
        {"zero bytes", "reply ", false},
        {"no answer", "silent", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(StartServer(std::string("group Tools\nitem Read Me\n") + c.mode + "\n"));
        EXPECT_EQ("", RunEntries("p     Tools@Read Me\n"));
        std::string log = StopServer();
        EXPECT_EQ(0u, log.find(ITEM_THEN_REQUEST)) << log;
        EXPECT_EQ(c.deleted, log.find("execute 3 21 [DeleteGroup(Tools)]\\0\n") != std::string::npos) << log;
    }
}

TEST_F(ProgmanTest, RefusedCommandsReportTheirTexts)
{
    // A shell that knows no group Tools, yet calls it empty: it refuses every command. Only the
    // item and group deletions report, four and three asterisks, with no line break.
    ASSERT_NO_FATAL_FAILURE(StartServer("group Other\nreply Tools,C:/TOOLS.GRP,0,1\n"));
    EXPECT_EQ(ITEM_FAILED + "***DdeClientTransaction Failed", RunEntries("p     Tools@Read Me\n"));
    EXPECT_EQ(ITEM_THEN_REQUEST +
              "connect 3\n"
              "execute 3 21 [DeleteGroup(Tools)]\\0\n"
              "execute 3 20 [ShowGroup(Tools,1)]\n"
              "disconnect 3\n"
              "group Other:\n",
              StopServer());
}

TEST_F(ProgmanTest, PayloadIsSplitAtTheFirstAt)
{
    struct Case {
        const char* name;
        const char* payload;
        std::string pane;
        std::string log;
    } cases[] = {
        {"no @", "Tools Read Me", "", "group Tools: Read Me|Read@Me\n"},
        {"two @", "Tools@Read@Me", "",
         "connect 1\nexecute 1 20 [ShowGroup(Tools,1)]\nexecute 1 22 [DeleteItem(Read@Me)]\\0\ndisconnect 1\n"
         "connect 2\nrequest 2 Tools\ndisconnect 2\ngroup Tools: Read Me\n"},
        // No group shown, so the item cannot be found. An empty name has no DDE string handle,
        // so no request goes out: a request without an item would have no group to ask about.
        {"@ first", "@Read Me", ITEM_FAILED,
         "connect 1\nexecute 1 15 [ShowGroup(,1)]\nexecute 1 22 [DeleteItem(Read Me)]\\0\ndisconnect 1\n"
         "connect 2\ndisconnect 2\ngroup Tools: Read Me|Read@Me\n"},
        {"@ last", "Tools@", ITEM_FAILED,
         "connect 1\nexecute 1 20 [ShowGroup(Tools,1)]\nexecute 1 15 [DeleteItem()]\\0\ndisconnect 1\n"
         "connect 2\nrequest 2 Tools\ndisconnect 2\ngroup Tools: Read Me|Read@Me\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(StartServer("group Tools\nitem Read Me\nitem Read@Me\n"));
        EXPECT_EQ(c.pane, RunEntries(std::string("p     ") + c.payload + "\n"));
        EXPECT_EQ(c.log, StopServer());
    }
}

TEST_F(ProgmanTest, WithNoServerEachEntryWritesOneText)
{
    ASSERT_FALSE(ProgmanAnswers());
    EXPECT_EQ(ITEM_FAILED, RunEntries("p     Tools@Read Me\n"));
    EXPECT_EQ(ITEM_FAILED + ITEM_FAILED, RunEntries("p     Tools@Read Me\np     Games@Mines\n"));

    // The conversation context that every connection gets: its size, and nothing else.
    CONVCONTEXT expected;
    memset(&expected, 0, sizeof expected);
    expected.cb = 36;
    EXPECT_EQ(36u, sizeof g_ddeConvContext);
    EXPECT_EQ(0, memcmp(&expected, &g_ddeConvContext, sizeof expected));
}

// Blocks of address space that are reserved but hold nothing: each keeps 64 KB from use.
int ReservedOnlyBlocks()
{
    int blocks = 0;
    MEMORY_BASIC_INFORMATION block;
    for (char* at = NULL; VirtualQuery(at, &block, sizeof block) == sizeof block; at = (char*)block.BaseAddress + block.RegionSize)
        if (block.State == MEM_RESERVE && block.BaseAddress == block.AllocationBase)
            ++blocks;
    return blocks;
}

TEST_F(ProgmanTest, EntriesGiveBackTheAddressSpaceTheyTake)
{
    ASSERT_FALSE(ProgmanAnswers());
    std::string record;
    for (int i = 0; i < 100; ++i)
        record += "p     Tools@Read Me\n";
    RunEntries(record);  // the first run settles whatever DDEML keeps for itself
    int before = ReservedOnlyBlocks();
    RunEntries(record);
    // A command block only decommitted would leave one such block behind for every entry.
    EXPECT_LT(ReservedOnlyBlocks(), before + 10);
}

TEST_F(ProgmanTest, LateAnswerLeavesTheGroupWithinTheTimeOut)
{
    // The server holds its answer past the client's 1,000 ms, and would call the group empty.
    ASSERT_NO_FATAL_FAILURE(StartServer("group Tools\nitem Read Me\nlate\n"));
    DWORD start = GetTickCount();
    EXPECT_EQ("", RunEntries("p     Tools@Read Me\n"));
    DWORD elapsed = GetTickCount() - start;
    std::string log = StopServer();
    EXPECT_NE(std::string::npos, log.find("\nrequest 2 Tools\n")) << log;
    EXPECT_EQ(std::string::npos, log.find("DeleteGroup")) << log;
    EXPECT_NE(std::string::npos, log.find("group Tools:\n")) << log;
    EXPECT_GE(elapsed, 1000u);
    EXPECT_LT(elapsed, 1800u) << "measured about 1,300 ms: the time-out, then the server's late answer";
}

TEST_F(ProgmanTest, LongNamesGoWhole)
{
    struct Case {
        const char* name;
        size_t groupLength, itemLength;
        bool asked;  // a DDE string handle holds at most 255 characters: longer names are not asked about
    } cases[] = {
        {"the longest that fill 128 bytes", 112, 113, true},
        {"longer than the 128 bytes", 113, 114, true},
        {"longer than a DDE string", 500, 500, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string group(c.groupLength, 'g'), item(c.itemLength, 'i');
        ASSERT_NO_FATAL_FAILURE(StartServer("group " + group + "\nitem " + item + "\n"));
        EXPECT_EQ("", RunEntries("p     " + group + "@" + item + "\n"));
        std::string show = "execute 1 " + std::to_string(group.size() + 15) + " [ShowGroup(" + group + ",1)]\n";
        std::string del = "execute 1 " + std::to_string(item.size() + 15) + " [DeleteItem(" + item + ")]\\0\n";
        std::string log = "connect 1\n" + show + del + "disconnect 1\nconnect 2\n";
        if (c.asked) {
            log += "request 2 " + group + "\ndisconnect 2\nconnect 3\n";
            log += "execute 3 " + std::to_string(group.size() + 16) + " [DeleteGroup(" + group + ")]\\0\n";
            log += "execute 3 " + std::to_string(group.size() + 15) + " [ShowGroup(" + group + ",1)]\ndisconnect 3\n";
        } else {
            log += "disconnect 2\ngroup " + group + ":\n";
        }
        EXPECT_EQ(log, StopServer());
    }
}

}  // namespace
