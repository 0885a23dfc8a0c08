// The record reader and the classifier, natively under the sanitizers.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/record.h"

namespace {

// Every piece the run would read from these bytes, with a buffer of `size`.
std::vector<std::string> Pieces(const std::string& bytes, int size = LINE_BUFFER_SIZE)
{
    char path[] = "/tmp/zelvo-record-XXXXXX";
    int fd = mkstemp(path);
    FILE* file = fdopen(fd, "wb");
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
    std::vector<std::string> pieces;
    RecordFile record;
    EXPECT_TRUE(OpenRecord(&record, path));
    std::vector<char> buffer(size);
    while (ReadRecordLine(&record, buffer.data(), size))
        pieces.push_back(buffer.data());
    CloseRecord(&record);
    remove(path);
    return pieces;
}

using Lines = std::vector<std::string>;

TEST(ReadRecordLine, AppliesTextModeRules)
{
    struct Case {
        const char* name;
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"empty file", "", {}},
        {"LF", "a\nb\n", {"a\n", "b\n"}},
        {"CR LF reads as LF", "a\r\nb\r\n", {"a\n", "b\n"}},
        {"lone CR stays", "a\rb\n\r", {"a\rb\n", "\r"}},
        {"two CRs keep one", "a\r\r\n", {"a\r\n"}},
        {"last line without LF", "a\nb", {"a\n", "b"}},
        {"Ctrl-Z ends the file", "a\nb\x1a\nc\n", {"a\n", "b"}},
        {"Ctrl-Z first", "\x1a" "a\n", {}},
        {"CR before Ctrl-Z", "a\r\x1a\n", {"a\r"}},
        {"NUL cuts its line", std::string("ab\0cd\nef\n", 9), {"ab", "ef\n"}},
        {"NUL first", std::string("\0x\n", 3), {""}},
        {"blank lines", "\n\n", {"\n", "\n"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.lines, Pieces(c.bytes));
    }
}

TEST(ReadRecordLine, SplitsLongLinesIntoPieces)
{
    std::string l1038(1038, 'a'), l1039(1039, 'b'), l1040(1040, 'c');
    EXPECT_EQ(Lines({l1038 + "\n"}), Pieces(l1038 + "\n"));
    EXPECT_EQ(Lines({l1039, "\n"}), Pieces(l1039 + "\n"));
    EXPECT_EQ(Lines({l1040.substr(0, 1039), "c\n"}), Pieces(l1040 + "\n"));
    std::string l2500(2500, 'd');
    EXPECT_EQ(Lines({l2500.substr(0, 1039), l2500.substr(1039, 1039), l2500.substr(2078) + "\n"}), Pieces(l2500 + "\n"));
    // CR LF counts as one character of the piece.
    EXPECT_EQ(Lines({l1038 + "\n"}), Pieces(l1038 + "\r\n"));
    // The window's reader: 259 characters, the rest of the header is not its business.
    std::string header(300, 'h');
    EXPECT_EQ(header.substr(0, 259), Pieces(header + "\n", HEADER_BUFFER_SIZE).front());
}

TEST(ReadRecordHeader, GivesTheFirstLineWithoutItsLineFeed)
{
    char path[] = "/tmp/zelvo-header-XXXXXX";
    int fd = mkstemp(path);
    FILE* file = fdopen(fd, "wb");
    fputs("Zelvo Tools 3.1\r\nf    0 0 x\n", file);
    fclose(file);
    char name[HEADER_BUFFER_SIZE];
    ReadRecordHeader(path, name, sizeof name);
    EXPECT_STREQ("Zelvo Tools 3.1", name);
    remove(path);
    ReadRecordHeader(path, name, sizeof name);
    EXPECT_STREQ("", name);
}

TEST(ClassifyEntry, GivesKindAndPayloadPosition)
{
    struct Case {
        std::string line;
        EntryKind kind;
        int payload;  // offset, or -1 for none
    } cases[] = {
        {"i   C:\\w\\s.dll", ENTRY_SHARED_DLL, 4},
        {"f    0 0 C:\\a.txt", ENTRY_FILE, 5},
        {"k   HKEY_USERS x\\y", ENTRY_REG_KEY, 4},
        {"dxyzC:\\d", ENTRY_DIRECTORY, 4},
        {"p     G@I", ENTRY_PROGMAN, 6},
        {"c   cmd", ENTRY_COMMAND, 4},
        {"c   ", ENTRY_COMMAND, 4},  // empty payload, at its position
        {"c", ENTRY_COMMAND, -1},    // ends before its payload
        {"p    ", ENTRY_PROGMAN, -1},
        {"F    0 0 x", ENTRY_OTHER, -1},
        {"D   x", ENTRY_OTHER, -1},
        {" c   x", ENTRY_OTHER, -1},
        {"x   y", ENTRY_OTHER, -1},
        {"", ENTRY_OTHER, -1},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.line);
        // An exact-size copy: the sanitizer sees any read past the line's end.
        std::vector<char> line(c.line.begin(), c.line.end());
        line.push_back('\0');
        char sentinel = 'S';
        char* payload = &sentinel;
        EXPECT_EQ(c.kind, ClassifyEntry(line.data(), &payload));
        if (c.kind == ENTRY_OTHER)
            EXPECT_EQ(&sentinel, payload) << "left untouched";
        else if (c.payload < 0)
            EXPECT_EQ(nullptr, payload);
        else
            EXPECT_EQ(line.data() + c.payload, payload);
    }
}

}  // namespace
