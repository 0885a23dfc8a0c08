// The record checker's core: what it flags in one entry, and its whole report on small records.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "check_text.h"

namespace {

using Flags = std::vector<std::string>;

Flags FlagsOf(const std::string& text)
{
    Flags flags;
    CheckEntry(text, &flags);
    return flags;
}

TEST(CheckEntry, PassesWellFormedEntries)
{
    const char* entries[] = {
        "i   C:\\WINDOWS\\SYSTEM\\zshared.dll",
        "f    0 0 C:\\Zelvo\\zelvo.exe",
        "fxxxx0x0xc:\\z.txt",  // filler is never examined
        "f    0 0 \\\\server\\share\\z.txt",
        "k   HKEY_CURRENT_USER Software\\Zelvo",
        "k   HKEY_CLASSES_ROOT .zlv\\shell",
        "k   HKEY_LOCAL_MACHINE Software\\Zelvo\\Tools",
        "k   HKEY_USERS .DEFAULT\\Software\\Zelvo",
        "k    HKEY_USERS x\\y",  // the uninstaller skips blanks before the name
        "d   C:\\",
        "p     Zelvo Tools@Read Me",
        "p     G@I@J",  // the item keeps the second "@"
        "c   zclean.exe /all",
    };
    for (const char* entry : entries)
        EXPECT_EQ(Flags(), FlagsOf(entry)) << entry;
}

TEST(CheckEntry, FlagsWhatDoesNothingOrNotWhatWasMeant)
{
    const std::string unknownRoot = ": nothing is deleted (HKEY_CURRENT_USER, HKEY_CLASSES_ROOT, "
                                    "HKEY_LOCAL_MACHINE or HKEY_USERS, then one blank)";
    const std::string notAbsolute = "not an absolute path (X:\\... or \\\\server\\...)";
    const std::string keyPath258 = "Software\\" + std::string(249, 'k');
    struct Case {
        std::string text;
        Flags flags;
    } cases[] = {
        {"", {"blank line: does nothing"}},
        {"x   y", {"unknown kind letter \"x\": does nothing"}},
        {"F    0 0 C:\\a", {"unknown kind letter \"F\": does nothing (kind letters are lower-case)"}},
        {" f    0 0 C:\\a", {"unknown kind letter \" \": does nothing"}},
        {"\r", {"unknown kind letter \"<CR>\": does nothing"}},
        {"c", {"the line ends before its payload at position 4: does nothing"}},
        {"p    ", {"the line ends before its payload at position 6: does nothing"}},
        {"f    0 0", {"the line ends before its path at position 9: does nothing"}},
        {"f    1 0 C:\\a", {"flags \"1\" and \"0\" are not both \"0\": the file is left alone"}},
        {"f    0 00C:\\a", {}},
        {"f    0 1 a.txt",
         {"flags \"0\" and \"1\" are not both \"0\": the file is left alone", notAbsolute}},
        {"f    0 0 ", {"the path is empty"}},
        {"i   zshared.dll", {notAbsolute}},
        {"d   C:Zelvo", {notAbsolute}},
        {"d   C:/Zelvo", {notAbsolute}},
        {"d   \\Zelvo", {notAbsolute}},
        {"d   \\\\server", {notAbsolute}},
        {"d   \\\\\\share\\x", {notAbsolute}},
        {"d   C:\\Zelvo\r", {"the payload holds a control character (<CR>)"}},
        {"c   ", {"the command is empty"}},
        {"k   HKLM Software\\Zelvo", {"unknown root key name \"HKLM\"" + unknownRoot}},
        {"k   hkey_local_machine Software\\Zelvo",
         {"unknown root key name \"hkey_local_machine\"" + unknownRoot}},
        {"k   HKEY_LOCAL_MACHINE\tSoftware\\Zelvo",
         {"the payload holds a control character (<TAB>)",
          "unknown root key name \"HKEY_LOCAL_MACHINE<TAB>Software\\Zelvo\"" + unknownRoot}},
        {"k   ", {"unknown root key name \"\"" + unknownRoot}},
        {"k   HKEY_USERS", {"no key path after the root key name: nothing is deleted"}},
        {"k   HKEY_USERS ", {"no key path after the root key name: nothing is deleted"}},
        {"k   HKEY_USERS  x\\y", {"the key path begins with a blank"}},
        {"k   HKEY_CLASSES_ROOT .zlv", {"the key path has no backslash: nothing is deleted"}},
        {"k   HKEY_USERS " + keyPath258 + "k", {}},
        {"k   HKEY_USERS " + keyPath258 + "kk",
         {"the key path has 260 characters, at most 259 fit: nothing is deleted"}},
        {"p     Zelvo Tools", {"no \"@\" between group and item: nothing is removed"}},
        {"p     @Read Me", {"the group name is empty"}},
        {"p     Zelvo@", {"the item name is empty"}},
        {"p     " + std::string(112, 'g') + "@" + std::string(113, 'i'), {}},
        {"p     " + std::string(113, 'g') + "@" + std::string(114, 'i'),
         {"the group name has 113 characters, at most 112 fit a Program Manager command",
          "the item name has 114 characters, at most 113 fit a Program Manager command"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.flags, FlagsOf(c.text)) << c.text;
}

// Writes the bytes to a scratch record and returns the checker's report and exit code.
std::pair<std::string, int> Check(const std::string& bytes)
{
    char path[] = "/tmp/zelvo-check-XXXXXX";
    int fd = mkstemp(path);
    FILE* file = fdopen(fd, "wb");
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
    std::string report;
    int code = CheckRecord(path, &report);
    remove(path);
    return {report, code};
}

TEST(CheckRecord, ReportsThePlanLastLineFirst)
{
    const std::string piece(1039, 'c');
    const char nulAndCtrlZ[] = "P\nc   zclean.exe\0 /all\nd   C:\\Zelvo\n\x1a" "c   more\n";
    struct Case {
        const char* name;
        std::string bytes;
        std::string report;
        int code;
    } cases[] = {
        {"clean record, CR LF",
         "Zelvo Tools 3.1\r\nd   C:\\Zelvo\r\nf    0 0 C:\\Zelvo\\z.ocx\r\nc   zclean.exe\r\n",
         "Product: Zelvo Tools 3.1\n"
         "Plan, last line first:\n"
         "line 4        command     zclean.exe\n"
         "line 3        file        0 0 C:\\Zelvo\\z.ocx\n"
         "line 2        directory   C:\\Zelvo\n"
         "3 entries, no flags.\n",
         CHECK_CLEAN},
        {"empty file", "",
         "Product: \n"
         "    note: the product name is empty\n"
         "Plan, last line first:\n"
         "0 entries, no flags.\n",
         CHECK_CLEAN},
        {"header alone, cut in the window", std::string(300, 'h'),
         "Product: " + std::string(300, 'h') + "\n"
         "    note: the window shows only the first 259 of its 300 characters\n"
         "Plan, last line first:\n"
         "0 entries, no flags.\n",
         CHECK_CLEAN},
        {"blank line, unknown letter, last line without line feed",
         "P\n\nX  y\nd   C:\\Zelvo",
         "Product: P\n"
         "Plan, last line first:\n"
         "line 4        directory   C:\\Zelvo\n"
         "line 3        other       X  y\n"
         "    ! unknown kind letter \"X\": does nothing\n"
         "line 2        other\n"
         "    ! blank line: does nothing\n"
         "3 entries, 2 flags.\n",
         CHECK_FLAGGED},
        {"a line of exactly 1,039 characters leaves its line feed as an entry",
         "P\nc   " + piece.substr(4) + "\nd   C:\\Zelvo\n",
         "Product: P\n"
         "Plan, last line first:\n"
         "line 3        directory   C:\\Zelvo\n"
         "line 2 (2/2)  other\n"
         "    ! line 2 has 1,039 characters or more: it is taken in 2 pieces, each an entry of its own\n"
         "    ! blank line: does nothing\n"
         "line 2 (1/2)  command     " + piece.substr(4) + "\n"
         "    ! line 2 has 1,039 characters or more: it is taken in 2 pieces, each an entry of its own\n"
         "3 entries, 3 flags.\n",
         CHECK_FLAGGED},
        {"a long line's pieces are classified by their own first characters",
         "P\nc   " + piece.substr(4) + "d   C:\\Zelvo\n",
         "Product: P\n"
         "Plan, last line first:\n"
         "line 2 (2/2)  directory   C:\\Zelvo\n"
         "    ! line 2 has 1,039 characters or more: it is taken in 2 pieces, each an entry of its own\n"
         "line 2 (1/2)  command     " + piece.substr(4) + "\n"
         "    ! line 2 has 1,039 characters or more: it is taken in 2 pieces, each an entry of its own\n"
         "2 entries, 2 flags.\n",
         CHECK_FLAGGED},
        {"a header over 1,039 characters runs on into entries",
         piece + "c   x\n",
         "Product: " + piece + "\n"
         "    note: the window shows only the first 259 of its 1039 characters\n"
         "Plan, last line first:\n"
         "line 1 (2/2)  command     x\n"
         "    ! line 1 has 1,039 characters or more: it is taken in 2 pieces, each an entry of its own\n"
         "1 entry, 1 flag.\n",
         CHECK_FLAGGED},
        {"NUL cuts a line; Ctrl-Z hides the rest",
         std::string(nulAndCtrlZ, sizeof nulAndCtrlZ - 1),
         "Product: P\n"
         "! a Ctrl-Z ends the record: the 9 bytes after it are never read\n"
         "Plan, last line first:\n"
         "line 3        directory   C:\\Zelvo\n"
         "line 2        command     zclean.exe\n"
         "    ! a NUL byte ends the line here: the rest of it is never read\n"
         "2 entries, 2 flags.\n",
         CHECK_FLAGGED},
        {"a Ctrl-Z as the last byte is harmless", "P\nc   zclean.exe\n\x1a",
         "Product: P\n"
         "Plan, last line first:\n"
         "line 2        command     zclean.exe\n"
         "1 entry, no flags.\n",
         CHECK_CLEAN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto result = Check(c.bytes);
        EXPECT_EQ(c.report, result.first);
        EXPECT_EQ(c.code, result.second);
    }
}

TEST(CheckRecord, SaysWhenTheRecordCannotBeOpened)
{
    std::string report;
    EXPECT_EQ(CHECK_UNREADABLE, CheckRecord("/nonexistent/zelvo/.UnInst.inf", &report));
    EXPECT_EQ("cannot open /nonexistent/zelvo/.UnInst.inf\n", report);
}

}  // namespace
