// Shared DLL entries against the registry's SharedDLLs key and real files.
#include <gtest/gtest.h>

#include "action_support.h"
#include "actions/shareddll.h"

namespace {

const char* const SHARED = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// A value as stored: its type and data; `exists` false for no value at all.
struct Value {
    bool exists;
    DWORD type;
    std::string data;
    bool operator==(const Value& other) const
    {
        return exists == other.exists && (!exists || (type == other.type && data == other.data));
    }
};

const Value NONE = {false, 0, ""};

Value Typed(DWORD type, const std::string& data)
{
    return {true, type, data};
}

Value Dword(DWORD count)
{
    return Typed(REG_DWORD, std::string((const char*)&count, sizeof count));
}

std::ostream& operator<<(std::ostream& out, const Value& value)
{
    if (!value.exists)
        return out << "(no value)";
    out << "type " << value.type << " data";
    for (unsigned char byte : value.data)
        out << ' ' << (int)byte;
    return out;
}

class SharedDllTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = MakeScratchFolder();
        ASSERT_EQ(ERROR_SUCCESS,
                  RegCreateKeyExA(HKEY_LOCAL_MACHINE, SHARED, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL));
    }
    void TearDown() override
    {
        for (const std::string& name : names)
            RegDeleteValueA(key, name.c_str());
        RegCloseKey(key);
    }
    std::string In(const std::string& name) const { return folder + "\\" + name; }
    void Store(const std::string& path, const Value& value)
    {
        names.push_back(path);
        if (value.exists)
            RegSetValueExA(key, path.c_str(), 0, value.type, (const BYTE*)value.data.data(), (DWORD)value.data.size());
    }
    Value Stored(const std::string& path)
    {
        char data[64];
        DWORD type = 0, size = sizeof data;
        if (RegQueryValueExA(key, path.c_str(), NULL, &type, (BYTE*)data, &size) != ERROR_SUCCESS)
            return NONE;
        return {true, type, std::string(data, size)};
    }
    std::string folder;
    HKEY key = NULL;
    std::vector<std::string> names;
};

TEST_F(SharedDllTest, CountsGoDownAndTheLastUseRemovesTheFile)
{
    enum FileKind { NO_FILE, TEXT, COMPONENT };
    struct Case {
        const char* name;  // also the file's name
        FileKind file;
        Value before;
        Value after;
        bool kept;  // the file is still there
        int entries;  // how many entries name it
    } cases[] = {
        {"three.txt", TEXT, Dword(3), Dword(2), true, 1},
        {"top-bit.txt", TEXT, Dword(0x80000000u), Dword(0x7fffffffu), true, 1},
        // The count goes with the file: it would tell other installers the file is in use.
        {"last.txt", TEXT, Dword(1), NONE, false, 1},
        {"last.dll", COMPONENT, Dword(1), NONE, false, 1},
        {"missing.txt", NO_FILE, Dword(1), Dword(0), false, 1},
        {"missing.dll", NO_FILE, Dword(1), Dword(0), false, 1},
        {"zero.txt", TEXT, Dword(0), Dword(0), true, 1},
        {"no-value.txt", TEXT, NONE, NONE, true, 1},
        {"text.txt", TEXT, Typed(REG_SZ, std::string("hello\0", 6)), Typed(REG_SZ, std::string("hello\0", 6)), true, 1},
        {"binary.txt", TEXT, Typed(REG_BINARY, std::string("\2\0\0\0", 4)), Dword(1), true, 1},
        // Once the file and its count are gone, a second entry finds nothing to do.
        {"twice.dll", COMPONENT, Dword(1), NONE, false, 2},
    };
    std::vector<std::string> entries;
    for (const Case& c : cases) {
        std::string path = In(c.name);
        if (c.file == TEXT)
            WriteBytes(path, "shared");
        if (c.file == COMPONENT)
            CopyLibrary("zelvo_component.dll", path);
        Store(path, c.before);
        for (int i = 0; i < c.entries; ++i)
            entries.push_back("i   " + path);
    }
    BoxWatch watch;
    PaneRun run = RunEntries(entries, watch);
    EXPECT_EQ("Tool will now be uninstalled\r\nDone. Press [Close] to exit.", run.pane) << "silent";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.after, Stored(In(c.name)));
        EXPECT_EQ(c.kept, FileExists(In(c.name)));
        EXPECT_EQ(c.file == COMPONENT ? "called" : "", ReadBytes(In(c.name) + ".unregistered"));
    }
    std::vector<std::string> boxes = {"RegisterActiveX(" + In("missing.dll") + "): LoadLibrary() failed (126)"};
    EXPECT_EQ(boxes, watch.Texts());
}

// The removed file's key entry text goes to the key removal: a key below SharedDLLs named
// by the file's path is deleted, its parents stay.
TEST_F(SharedDllTest, KeyNamedByARemovedFileIsDeleted)
{
    std::string path = In("keyed.txt");
    WriteBytes(path, "shared");
    Store(path, Dword(1));
    std::string named = std::string(SHARED) + "\\" + path;
    HKEY created;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, named.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &created, NULL));
    RegCloseKey(created);

    int result = 0;
    BoxWatch watch;
    CallWatched([&] { result = ReleaseSharedDll(path.c_str()); }, watch);
    EXPECT_EQ(1, result);
    EXPECT_FALSE(FileExists(path));
    HKEY opened;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, named.c_str(), 0, KEY_READ, &opened));
    std::string parent = named.substr(0, named.rfind('\\'));
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, parent.c_str(), 0, KEY_READ, &opened));
    RegCloseKey(opened);
    RegDeleteTreeA(key, path.substr(0, path.find('\\')).c_str());
}

TEST_F(SharedDllTest, NoSharedDllsKeyChangesNothing)
{
    std::string path = In("unkeyed.txt");
    WriteBytes(path, "shared");
    RegCloseKey(key);
    key = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeA(HKEY_LOCAL_MACHINE, SHARED));
    EXPECT_EQ(0, ReleaseSharedDll(path.c_str()));
    EXPECT_TRUE(FileExists(path));
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, SHARED, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL));
}

}  // namespace
