// Program Manager texts: the commands with their byte counts, and how a group reply is read.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "actions/progman_text.h"

namespace {

struct Sent {
    std::string bytes;  // what the shell receives, NUL included where it is sent
    size_t count;
};

Sent Format(ProgmanCommand command, const std::string& name, size_t size = PROGMAN_COMMAND_BUFFER_SIZE)
{
    std::vector<char> buffer(size, '\x55');
    size_t count = FormatProgmanCommand(buffer.data(), size, command, name.c_str());
    EXPECT_LE(count, size);
    return {std::string(buffer.data(), count), count};
}

TEST(FormatProgmanCommand, GivesTheTextsAndTheirByteCounts)
{
    struct Case {
        ProgmanCommand command;
        const char* name;
        std::string bytes;
    } cases[] = {
        {PROGMAN_SHOW_GROUP, "Tools", "[ShowGroup(Tools,1)]"},
        {PROGMAN_DELETE_ITEM, "Read Me", std::string("[DeleteItem(Read Me)]\0", 22)},
        {PROGMAN_DELETE_GROUP, "Tools", std::string("[DeleteGroup(Tools)]\0", 21)},
        {PROGMAN_SHOW_GROUP, "", "[ShowGroup(,1)]"},
        {PROGMAN_DELETE_ITEM, "", std::string("[DeleteItem()]\0", 15)},
        {PROGMAN_DELETE_ITEM, "b@c", std::string("[DeleteItem(b@c)]\0", 18)},
        {PROGMAN_SHOW_GROUP, "%s%d, \"x\"", "[ShowGroup(%s%d, \"x\",1)]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sent sent = Format(c.command, c.name);
        EXPECT_EQ(c.bytes, sent.bytes);
        EXPECT_EQ(c.bytes.size(), sent.count);
    }
    EXPECT_EQ(20u, Format(PROGMAN_SHOW_GROUP, "Tools").count);
    EXPECT_EQ(22u, Format(PROGMAN_DELETE_ITEM, "Read Me").count);
    EXPECT_EQ(21u, Format(PROGMAN_DELETE_GROUP, "Tools").count);
}

TEST(FormatProgmanCommand, LongNamesGetTheBufferTheyNeed)
{
    std::string group112(112, 'g'), group113(113, 'g'), item113(113, 'i'), item114(114, 'i');
    // 112 and 113 characters fill the 128 bytes exactly, NUL included.
    EXPECT_EQ(128u, ProgmanCommandSize(PROGMAN_SHOW_GROUP, group112.c_str()));
    EXPECT_EQ(128u, ProgmanCommandSize(PROGMAN_DELETE_ITEM, item113.c_str()));
    EXPECT_EQ(128u, ProgmanCommandSize(PROGMAN_DELETE_GROUP, group112.c_str()));
    EXPECT_EQ(128u, ProgmanCommandBufferSize(PROGMAN_SHOW_GROUP, group112.c_str(), PROGMAN_DELETE_ITEM, item113.c_str()));
    EXPECT_EQ(128u, ProgmanCommandBufferSize(PROGMAN_SHOW_GROUP, "", PROGMAN_DELETE_ITEM, ""));
    EXPECT_EQ(129u, ProgmanCommandBufferSize(PROGMAN_SHOW_GROUP, group113.c_str(), PROGMAN_DELETE_ITEM, "x"));
    EXPECT_EQ(129u, ProgmanCommandBufferSize(PROGMAN_SHOW_GROUP, "x", PROGMAN_DELETE_ITEM, item114.c_str()));

    std::string long500(500, 'n');
    size_t size = ProgmanCommandBufferSize(PROGMAN_DELETE_GROUP, long500.c_str(), PROGMAN_SHOW_GROUP, long500.c_str());
    EXPECT_EQ(516u, size);
    EXPECT_EQ("[ShowGroup(" + long500 + ",1)]", Format(PROGMAN_SHOW_GROUP, long500, size).bytes);
    EXPECT_EQ("[DeleteGroup(" + long500 + ")]" + std::string(1, '\0'), Format(PROGMAN_DELETE_GROUP, long500, size).bytes);
    EXPECT_EQ("[DeleteItem(" + long500 + ")]" + std::string(1, '\0'),
              Format(PROGMAN_DELETE_ITEM, long500, ProgmanCommandSize(PROGMAN_DELETE_ITEM, long500.c_str())).bytes);
}

TEST(FormatProgmanCommand, ASmallBufferIsNeverWrittenPast)
{
    Sent sent = Format(PROGMAN_DELETE_ITEM, std::string(200, 'i'), 16);
    EXPECT_EQ(std::string("[DeleteItem(iii\0", 16), sent.bytes);
    EXPECT_EQ(15u, Format(PROGMAN_SHOW_GROUP, std::string(200, 'g'), 16).count);
    char untouched = 'u';
    EXPECT_EQ(0u, FormatProgmanCommand(&untouched, 0, PROGMAN_SHOW_GROUP, "Tools"));
    EXPECT_EQ('u', untouched);
}

TEST(ProgmanReplyIsEmpty, ReadsTheItemCount)
{
    struct Case {
        const char* name;
        const char* reply;
        int empty;
    } cases[] = {
        {"count 0", "\"Tools\",C:\\WINDOWS\\TOOLS.GRP,0,1", 1},
        {"count 0 at the end", "Tools,C:\\TOOLS.GRP,0", 1},
        {"count 3", "\"Tools\",C:\\TOOLS.GRP,3,1\r\n\"a\",x\r\n\"b\",y\r\n\"c\",z\r\n", 0},
        {"count 10", "Tools,p,10", 0},
        {"count 0 written 000", "Tools,p,000", 1},
        {"count 00012", "Tools,p,00012", 0},
        {"signs", "Tools,p,+0", 1},
        {"minus zero", "Tools,p,-0", 1},
        {"minus one", "Tools,p,-1", 0},
        {"two fields", "Tools,C:\\TOOLS.GRP", 0},
        {"one field", "Tools", 0},
        {"empty reply", "", 0},
        {"only commas", ",,,,", 0},
        {"blanks before the 0", "Tools,p,   \t0,1", 1},
        {"line break after the 0", "Tools,p,0\r\nmore text", 1},
        {"line break before the 0", "Tools,p,\r\n0", 1},
        {"a letter, two commas and a 0", "a,,0", 0},
        {"leading commas do not count", ",,Tools,p,0", 1},
        {"runs of commas do not count", "Tools,,,p,,,0", 1},
        {"fields counted across lines", "Tools\r\n,p\r\n,0", 1},
        {"count with no digits", "Tools,p,x", 0},
        {"count of blanks only", "Tools,p,   ,5", 0},
        {"count of a sign only", "Tools,p,+", 0},
        {"count of a sign and a letter", "Tools,p,-a", 0},
        {"letters after the 0", "Tools,p,0abc", 1},
        {"digit after a blank is not read on", "Tools,p,0 7", 1},
        {"quoted name holds a comma", "\"Tools, Misc\",C:\\MISC.GRP,0,1", 1},
        {"quoted name with a comma, count 2", "\"Tools, Misc\",C:\\MISC.GRP,2,1\r\n", 0},
        {"quoted name with two commas", "\"a,b,c\",p,0", 1},
        {"quote never closed", "\"a,b,0", 0},
        {"quote after leading commas", ",\"a,b\",p,0", 1},
        {"text after the closing quote", "\"a,b\"c,p,0", 1},
        {"quotes only bind the first field", "a,\"p,q\",0", 0},
        {"empty quoted name", "\"\",p,0", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // An exact-size copy, so that a read past the text's end is caught.
        std::vector<char> copy(c.reply, c.reply + strlen(c.reply) + 1);
        EXPECT_EQ(c.empty, ProgmanReplyIsEmpty(copy.data()));
    }
}

}  // namespace
