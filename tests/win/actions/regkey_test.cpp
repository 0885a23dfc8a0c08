// Key entries against the real registry: scratch keys under each root, one record each.
#include <gtest/gtest.h>

#include "action_support.h"
#include "actions/regkey.h"

namespace {

struct Key {
    HKEY root;
    std::string path;
};

// Where each case's keys live; removed after every case.
const Key SCRATCH[] = {
    {HKEY_CURRENT_USER, "Software\\ZelvoTest"},
    {HKEY_LOCAL_MACHINE, "Software\\ZelvoTest"},
    {HKEY_CLASSES_ROOT, "ZelvoTest.Scratch"},
    {HKEY_USERS, ".DEFAULT\\Software\\ZelvoTest"},
    // Where a text without any backslash would land, if it were taken.
    {HKEY_CURRENT_USER, "ZelvoTestNoSlash"},
};

Key User(const std::string& path)
{
    return {HKEY_CURRENT_USER, "Software\\ZelvoTest\\" + path};
}

bool KeyExists(const Key& key)
{
    HKEY opened;
    if (RegOpenKeyExA(key.root, key.path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

void CreateKey(const Key& key)
{
    HKEY created;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(key.root, key.path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &created, NULL))
        << key.path;
    RegCloseKey(created);
}

void RemoveScratchKeys()
{
    for (const Key& key : SCRATCH)
        RegDeleteTreeA(key.root, key.path.c_str());
}

TEST(DeleteRegistryKey, DeletesOnlyTheKeyTheTextNames)
{
    const std::string user = "HKEY_CURRENT_USER Software\\ZelvoTest\\";
    const std::string name235(235, 'n');  // "Software\ZelvoTest\Long\" and it make 259 characters
    const std::string name240(240, 'm');
    struct Case {
        const char* name;
        std::string text;
        std::vector<Key> keys;  // made before the run
        std::vector<Key> gone;  // of them, those gone after it
    } cases[] = {
        {"a leaf key", user + "A\\Leaf", {User("A\\Leaf")}, {User("A\\Leaf")}},
        {"blanks before the root name", "  " + user + "A\\Leaf", {User("A\\Leaf")}, {User("A\\Leaf")}},
        {"HKEY_LOCAL_MACHINE", "HKEY_LOCAL_MACHINE Software\\ZelvoTest\\A\\Leaf",
         {{HKEY_LOCAL_MACHINE, "Software\\ZelvoTest\\A\\Leaf"}, User("A\\Leaf")},
         {{HKEY_LOCAL_MACHINE, "Software\\ZelvoTest\\A\\Leaf"}}},
        {"HKEY_CLASSES_ROOT", "HKEY_CLASSES_ROOT ZelvoTest.Scratch\\Leaf",
         {{HKEY_CLASSES_ROOT, "ZelvoTest.Scratch\\Leaf"}}, {{HKEY_CLASSES_ROOT, "ZelvoTest.Scratch\\Leaf"}}},
        {"HKEY_USERS", "HKEY_USERS .DEFAULT\\Software\\ZelvoTest\\Leaf",
         {{HKEY_USERS, ".DEFAULT\\Software\\ZelvoTest\\Leaf"}}, {{HKEY_USERS, ".DEFAULT\\Software\\ZelvoTest\\Leaf"}}},
        {"a key path of 259 characters", user + "Long\\" + name235, {User("Long\\" + name235)}, {User("Long\\" + name235)}},
        // The parent is the key itself and the subkey name empty: Wine deletes the opened key,
        // though it was opened without the DELETE right.
        {"a trailing backslash", user + "A\\Leaf\\", {User("A\\Leaf")}, {User("A\\Leaf")}},
        // Nothing is done with these.
        {"lower-case root name", "hkey_current_user Software\\ZelvoTest\\A\\Leaf", {User("A\\Leaf")}, {}},
        {"abbreviated root name", "HKCU Software\\ZelvoTest\\A\\Leaf", {User("A\\Leaf")}, {}},
        {"a tab after the root name", "HKEY_CURRENT_USER\tSoftware\\ZelvoTest\\A\\Leaf", {User("A\\Leaf")}, {}},
        {"two blanks: the second begins the path", "HKEY_CURRENT_USER  Software\\ZelvoTest\\A\\Leaf", {User("A\\Leaf")}, {}},
        {"a missing key", user + "A\\Nope", {User("A\\Leaf")}, {}},
        {"a key with subkeys (refused)", user + "A", {User("A\\Leaf")}, {}},
        // 260 characters or more: a cut path would name the sentinel.
        {"a key path of 260, cut in its last name", user + "Long\\" + name235 + "x",
         {User("Long\\" + name235 + "x"), User("Long\\" + name235)}, {}},
        // (Wine keeps no key of so long a path, so only the sentinel can be made.)
        {"a key path of 270, cut in a middle name", user + "Long\\" + name240 + "\\Leaf", {User("Long\\Leaf")}, {}},
        {"no key path", "HKEY_CURRENT_USER", {User("A\\Leaf")}, {}},
        {"an empty key path", "HKEY_CURRENT_USER ", {User("A\\Leaf")}, {}},
        {"no backslash in the key path", "HKEY_CURRENT_USER ZelvoTestNoSlash", {{HKEY_CURRENT_USER, "ZelvoTestNoSlash"}}, {}},
        {"an empty text", "", {User("A\\Leaf")}, {}},
    };
    MakeScratchFolder();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveScratchKeys();
        for (const Key& key : c.keys)
            CreateKey(key);
        BoxWatch watch;
        PaneRun run = RunEntries({"k   " + c.text}, watch);
        EXPECT_EQ("Tool will now be uninstalled\r\nDone. Press [Close] to exit.", run.pane) << "silent";
        for (const Key& key : c.keys) {
            bool gone = false;
            for (const Key& g : c.gone)
                gone = gone || (g.root == key.root && g.path == key.path);
            EXPECT_EQ(!gone, KeyExists(key)) << key.path;
            // The parent is never touched.
            Key parent = {key.root, key.path.substr(0, key.path.rfind('\\'))};
            EXPECT_TRUE(KeyExists(parent)) << parent.path;
        }
    }
    RemoveScratchKeys();
}

// A line feed ends the key path; the routine itself reads past one, which no record line can hold.
TEST(DeleteRegistryKey, LineFeedsSeparateLikeBlanks)
{
    RemoveScratchKeys();
    CreateKey(User("A\\Leaf"));
    CreateKey(User("B"));
    EXPECT_EQ(0, DeleteRegistryKey("\n\nHKEY_CURRENT_USER\n\nSoftware\\ZelvoTest\\A\\Leaf\nSoftware\\ZelvoTest\\B"));
    EXPECT_FALSE(KeyExists(User("A\\Leaf")));
    EXPECT_TRUE(KeyExists(User("B")));
    RemoveScratchKeys();
}

}  // namespace
