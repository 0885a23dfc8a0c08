// Text helpers of the file, key and shared DLL actions, natively under the sanitizers.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "actions/file_text.h"
#include "actions/key_text.h"

namespace {

TEST(IsComponentPath, NeedsFiveCharactersAndAComponentEnding)
{
    struct Case {
        const char* path;
        int component;
    } cases[] = {
        {".dll", 0},        {"a.dll", 1},      {"X.DLL", 1},       {"x.Dll", 1},      {"Y.OCX", 1},
        {"a.oCx", 1},       {".ocx", 0},       {"lib.dll.old", 0}, {"data.ocxx", 0},  {"viewer.exe", 0},
        {"", 0},            {"dll", 0},        {"a.dl", 0},        {"adll", 0},       {"C:\\x.dll\\y", 0},
        {"C:\\dir\\z.ocx", 1}, {"a\xc4.dll", 1}, {"a.\xc4ll", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.component, IsComponentPath(c.path)) << '"' << c.path << '"';
}

std::string LoadWarning(const std::string& path, int error, size_t size = WARNING_TEXT_SIZE)
{
    // Exactly the given size, so that a write past it is caught.
    std::vector<char> buffer(size);
    FormatLoadWarning(buffer.data(), size, path.c_str(), error);
    return buffer.data();
}

TEST(FormatLoadWarning, KeepsTheCodeWhenThePathIsCut)
{
    EXPECT_EQ("RegisterActiveX(C:\\a %s.dll): LoadLibrary() failed (126)", LoadWarning("C:\\a %s.dll", 126));
    EXPECT_EQ("RegisterActiveX(): LoadLibrary() failed (-1)", LoadWarning("", -1));
    // 42 fixed characters and the longest code leave 970 for the path.
    std::string fits(970, 'p');
    EXPECT_EQ("RegisterActiveX(" + fits + "): LoadLibrary() failed (-2147483648)", LoadWarning(fits, INT_MIN));
    EXPECT_EQ("RegisterActiveX(" + fits + "): LoadLibrary() failed (-2147483648)", LoadWarning(fits + "q", INT_MIN));
    std::string cut = LoadWarning(std::string(5000, 'p'), 5);
    EXPECT_EQ(1023u, cut.size());
    EXPECT_EQ("p): LoadLibrary() failed (5)", cut.substr(cut.size() - 28));
    // A buffer smaller than the fixed words: cut, never overrun.
    EXPECT_EQ("RegisterA", LoadWarning("C:\\x.dll", 2, 10));
}

struct Split {
    int named;
    std::string root, parent, subkey;
};

Split SplitOf(const std::string& text)
{
    KeyTextParts parts;
    int named = SplitKeyText(text.c_str(), &parts);
    if (!named)
        return {0, "", "", ""};
    return {1, ROOT_KEY_NAMES[parts.root], parts.parent, parts.subkey};
}

TEST(SplitKeyText, ReadsRootParentAndSubkey)
{
    const std::string long258(258 - 9, 'n');  // "Software\" and it make 258
    struct Case {
        const char* name;
        std::string text;
        Split split;
    } cases[] = {
        {"plain", "HKEY_LOCAL_MACHINE Software\\Example\\Settings", {1, "HKEY_LOCAL_MACHINE", "Software\\Example\\", "Settings"}},
        {"each root", "HKEY_CURRENT_USER a\\b", {1, "HKEY_CURRENT_USER", "a\\", "b"}},
        {"classes root", "HKEY_CLASSES_ROOT a\\b", {1, "HKEY_CLASSES_ROOT", "a\\", "b"}},
        {"users", "HKEY_USERS a\\b", {1, "HKEY_USERS", "a\\", "b"}},
        {"leading blanks and line feeds", " \n HKEY_USERS a\\b", {1, "HKEY_USERS", "a\\", "b"}},
        {"two blanks: the path begins with one", "HKEY_USERS  a\\b", {1, "HKEY_USERS", " a\\", "b"}},
        {"blanks inside and after the path stay", "HKEY_USERS a b\\c d ", {1, "HKEY_USERS", "a b\\", "c d "}},
        {"line feed after the root, then more", "HKEY_USERS\n\n\na\\b", {1, "HKEY_USERS", "a\\", "b"}},
        {"a line feed ends the path", "HKEY_USERS a\\b\nc\\d", {1, "HKEY_USERS", "a\\", "b"}},
        {"trailing backslash", "HKEY_USERS a\\b\\", {1, "HKEY_USERS", "a\\b\\", ""}},
        {"leading backslash", "HKEY_USERS \\b", {1, "HKEY_USERS", "\\", "b"}},
        {"259 characters", "HKEY_USERS Software\\" + long258 + "x", {1, "HKEY_USERS", "Software\\", long258 + "x"}},
        {"260 characters", "HKEY_USERS Software\\" + long258 + "xy", {0, "", "", ""}},
        {"far too long", "HKEY_USERS " + std::string(5000, '\\'), {0, "", "", ""}},
        {"lower case", "hkey_users a\\b", {0, "", "", ""}},
        {"abbreviated", "HKU a\\b", {0, "", "", ""}},
        {"prefix of a name", "HKEY_USER a\\b", {0, "", "", ""}},
        {"longer than a name", "HKEY_USERSX a\\b", {0, "", "", ""}},
        {"tab after the root", "HKEY_USERS\ta\\b", {0, "", "", ""}},
        {"other predefined key", "HKEY_CURRENT_CONFIG a\\b", {0, "", "", ""}},
        {"empty", "", {0, "", "", ""}},
        {"blanks only", "  \n ", {0, "", "", ""}},
        {"root alone", "HKEY_USERS", {0, "", "", ""}},
        {"root and a blank", "HKEY_USERS ", {0, "", "", ""}},
        {"root and line feeds", "HKEY_USERS\n\n", {0, "", "", ""}},
        {"no backslash", "HKEY_USERS Software", {0, "", "", ""}},
        {"backslash only after the line feed", "HKEY_USERS Software\na\\b", {0, "", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Split got = SplitOf(c.text);
        EXPECT_EQ(c.split.named, got.named);
        EXPECT_EQ(c.split.root, got.root);
        EXPECT_EQ(c.split.parent, got.parent);
        EXPECT_EQ(c.split.subkey, got.subkey);
    }
}

TEST(FormatSharedKeyText, FitsUpTo707Characters)
{
    const std::string prefix = "HKEY_LOCAL_MACHINE SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs\\";
    ASSERT_EQ(72u, prefix.size());
    for (size_t length : {0, 12, 707, 708, 3000}) {
        SCOPED_TRACE(length);
        std::string path(length, 'p');
        std::vector<char> buffer(SHARED_KEY_TEXT_SIZE);
        int whole = FormatSharedKeyText(buffer.data(), buffer.size(), path.c_str());
        EXPECT_EQ(length <= 707, whole != 0);
        EXPECT_EQ((prefix + path).substr(0, SHARED_KEY_TEXT_SIZE - 1), buffer.data());
    }
    // What it composes is read back as the file's key below SharedDLLs.
    std::vector<char> buffer(SHARED_KEY_TEXT_SIZE);
    FormatSharedKeyText(buffer.data(), buffer.size(), "C:\\Tools\\x.dll");
    Split split = SplitOf(buffer.data());
    EXPECT_EQ("HKEY_LOCAL_MACHINE", split.root);
    EXPECT_EQ(std::string(SHARED_DLLS_KEY_PATH) + "C:\\Tools\\", split.parent);
    EXPECT_EQ("x.dll", split.subkey);
}

}  // namespace
