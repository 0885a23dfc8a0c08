// Hostile records and faulting components, run through the real Uninstall.exe by
// zelvo_drive. Every run must reach the final text, exit with -1 after Close, delete the
// record and leave alone everything the record does not name: a sentinel tree of files
// beside the run folder and of keys under HKEY_CURRENT_USER\Software\ZelvoSentinel is
// compared before and after each record.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

const char* const DONE = "Done. Press [Close] to exit.";
const char* const FAILED = " .. Failed to delete file.\r\n";
const char* const SENTINEL_KEY = "Software\\ZelvoSentinel";
const char* const TARGET_KEY = "Software\\ZelvoHostileTarget";
const char* const SHARED_DLLS = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

std::string Repeat(const std::string& text, size_t length)
{
    std::string out;
    while (out.size() < length)
        out += text;
    return out.substr(0, length);
}

size_t Count(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

void CreateKey(HKEY root, const std::string& path, const char* value = nullptr, const std::string& data = "")
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL), ERROR_SUCCESS) << path;
    if (value)
        RegSetValueExA(key, value, 0, REG_SZ, (const BYTE*)data.c_str(), (DWORD)data.size() + 1);
    RegCloseKey(key);
}

bool KeyExists(HKEY root, const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// Every key below `path` with its values, as lines of text.
void SnapshotKey(HKEY root, const std::string& path, std::vector<std::string>* lines)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    lines->push_back("key " + path);
    char name[16384];
    BYTE data[1024];
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
        if (RegEnumValueA(key, i, name, &nameSize, NULL, &type, data, &dataSize) != ERROR_SUCCESS)
            break;
        lines->push_back("value " + path + " " + name + "=" + std::string((char*)data, dataSize));
    }
    std::vector<std::string> children;
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof name;
        if (RegEnumKeyExA(key, i, name, &nameSize, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            break;
        children.push_back(name);
    }
    RegCloseKey(key);
    for (const std::string& child : children)
        SnapshotKey(root, path + "\\" + child, lines);
}

// Every file and folder below `folder` with the files' contents, as lines of text.
void SnapshotFolder(const std::string& folder, std::vector<std::string>* lines)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        std::string path = folder + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            lines->push_back("folder " + path);
            SnapshotFolder(path, lines);
        } else {
            lines->push_back("file " + path + "=" + ReadBytes(path));
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

struct Warning {
    HWND box;
    std::string text;
};

BOOL CALLBACK DismissWarning(HWND window, LPARAM parameter)
{
    std::vector<Warning>* warnings = (std::vector<Warning>*)parameter;
    char caption[16], className[16];
    if (!IsWindowVisible(window) || !GetWindowTextA(window, caption, sizeof caption) || strcmp(caption, "Warning") ||
        !GetClassNameA(window, className, sizeof className) || strcmp(className, "#32770"))
        return TRUE;
    bool known = false;
    for (const Warning& warning : *warnings)
        known = known || warning.box == window;
    if (!known)
        warnings->push_back({window, WindowText(GetDlgItem(window, 0xFFFF))});
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

struct Outcome {
    bool started = false;
    std::string report;  // what zelvo_drive printed
    std::string pane;
    std::vector<std::string> warnings;  // texts of the "Warning" boxes, each dismissed with OK
    double seconds = 0;
    bool Finished() const { return report.find("finished: yes") != std::string::npos; }
    bool ExitedWithMinusOne() const { return report.find("exit-code: -1\r\n") != std::string::npos ||
                                             report.find("exit-code: -1\n") != std::string::npos; }
};

// Runs the program in `folder` through zelvo_drive, dismissing its warning boxes meanwhile.
Outcome Drive(const std::string& folder, int timeoutSeconds)
{
    Outcome outcome;
    std::string paneFile = folder + "\\..\\pane.txt";
    std::string reportFile = folder + "\\..\\drive.txt";
    DeleteFileA(paneFile.c_str());
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
    HANDLE report = CreateFileA(reportFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, NULL);
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = report;
    startup.hStdError = report;
    std::string driver = SiblingPath("zelvo_drive.exe");
    std::string commandLine = "\"" + driver + "\" --pane \"" + paneFile + "\" --timeout " + std::to_string(timeoutSeconds) +
                              " \"" + SiblingPath("Uninstall.exe") + "\" \"" + folder + "\"";
    PROCESS_INFORMATION process;
    DWORD start = GetTickCount();
    outcome.started = CreateProcessA(driver.c_str(), &commandLine[0], NULL, NULL, TRUE, 0, NULL, NULL, &startup, &process);
    CloseHandle(report);
    if (!outcome.started)
        return outcome;
    std::vector<Warning> warnings;
    // The driver gives up by itself after its time-out; this wait only guards against a hung driver.
    while (WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT) {
        EnumWindows(DismissWarning, (LPARAM)&warnings);
        if (GetTickCount() - start > (DWORD)(timeoutSeconds + 30) * 1000) {
            TerminateProcess(process.hProcess, 1);
            break;
        }
    }
    outcome.seconds = (GetTickCount() - start) / 1000.0;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    outcome.report = ReadBytes(reportFile);
    outcome.pane = ReadBytes(paneFile);
    for (const Warning& warning : warnings)
        outcome.warnings.push_back(warning.text);
    return outcome;
}

// A folder for the run and a sentinel tree of files and keys beside it.
class Hostile : public ::testing::Test {
protected:
    std::string root, run, sentinel;
    // Key names that sit exactly where a key path cut at 259 characters would end.
    std::string longX = Repeat("X", 235), longY = Repeat("Y", 234);

    void SetUp() override
    {
        root = MakeScratchFolder();
        run = root + "\\run";
        sentinel = root + "\\sentinel";
        CreateDirectoryA(run.c_str(), NULL);
        CreateDirectoryA(sentinel.c_str(), NULL);
        CreateDirectoryA((sentinel + "\\empty").c_str(), NULL);
        CreateDirectoryA((sentinel + "\\sub").c_str(), NULL);
        WriteBytes(sentinel + "\\keep.txt", "keep");
        WriteBytes(sentinel + "\\keep.dll", "not a library");
        WriteBytes(sentinel + "\\sub\\inner.txt", "inner");
        std::string key = SENTINEL_KEY;
        CreateKey(HKEY_CURRENT_USER, key, "top", "sentinel");
        CreateKey(HKEY_CURRENT_USER, key + "\\Keep", "value", "keep");
        CreateKey(HKEY_CURRENT_USER, key + "\\Empty");
        CreateKey(HKEY_CURRENT_USER, key + "\\" + longX + "\\Z", "value", "x-z");
        CreateKey(HKEY_CURRENT_USER, key + "\\" + longY + "\\Z", "value", "y-z");
        CreateKey(HKEY_CURRENT_USER, key + "\\" + longY + "\\W", "value", "y-w");
        before = Snapshot();
    }

    void TearDown() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, SENTINEL_KEY);
        RegDeleteTreeA(HKEY_CURRENT_USER, TARGET_KEY);
        SetCurrentDirectoryA("\\");
    }

    std::vector<std::string> Snapshot()
    {
        std::vector<std::string> lines;
        SnapshotFolder(sentinel, &lines);
        SnapshotKey(HKEY_CURRENT_USER, SENTINEL_KEY, &lines);
        return lines;
    }

    // Runs one record and checks what every run must show.
    Outcome RunRecord(const std::string& name, const std::string& bytes, int timeoutSeconds = 60)
    {
        std::string record = run + "\\.UnInst.inf";
        WriteBytes(record, bytes);
        Outcome outcome = Drive(run, timeoutSeconds);
        printf("[ hostile  ] %s: %zu bytes, %.1f s\n", name.c_str(), bytes.size(), outcome.seconds);
        EXPECT_TRUE(outcome.started) << name;
        EXPECT_TRUE(outcome.Finished()) << name << ": " << outcome.report;
        EXPECT_TRUE(outcome.ExitedWithMinusOne()) << name << ": " << outcome.report;
        EXPECT_TRUE(EndsWith(outcome.pane, DONE)) << name << ": pane ends with\n"
                                                  << outcome.pane.substr(outcome.pane.size() > 300 ? outcome.pane.size() - 300 : 0);
        EXPECT_FALSE(FileExists(record)) << name;
        EXPECT_EQ(Snapshot(), before) << name;
        return outcome;
    }

    std::vector<std::string> before;
};

struct CorpusCase {
    const char* file;
    std::vector<std::string> inPane;  // texts the pane must hold
    const char* exactPane;            // the whole pane, when it is known exactly
};

// Small malformed records from tests/win/hostile/corpus, each naming sentinels in ways
// that must not reach them: the whole CR-only file is one header line, nothing after a
// leading Ctrl-Z is read, a NUL ends a line's text, flags other than "0" "0" delete
// nothing, key texts that are not exactly root name, one blank and key path name nothing.
TEST_F(Hostile, CorpusRecordsTouchNothingTheyDoNotName)
{
    const CorpusCase cases[] = {
        {"cr_only.inf", {"CR only product\r"}, nullptr},
        {"ctrlz_first.inf", {}, " will now be uninstalled\r\nDone. Press [Close] to exit."},
        {"nul_everywhere.inf",
         {"NUL will now be uninstalled\r\n", "Deleting file missing-after-nul.txt  .. Failed to delete file.\r\n"},
         nullptr},
        {"percent_formats.inf",
         {"%s%n%x%p product %d%% will now be uninstalled\r\n",
          "Deleting file %s%n%x%p  .. Failed to delete file.\r\n", "Execuing '%s%n%x%p'... Failed! ("},
         nullptr},
        {"key_texts.inf", {}, "Malformed key texts will now be uninstalled\r\nDone. Press [Close] to exit."},
        {"flags.inf", {"Deleting file ..\\sentinel\\keep.txt\r  .. Failed to delete file.\r\n"}, nullptr},
    };
    for (const CorpusCase& test : cases) {
        std::string bytes = ReadBytes(SiblingPath("hostile-corpus\\") + test.file);
        ASSERT_FALSE(bytes.empty()) << test.file;
        Outcome outcome = RunRecord(test.file, bytes);
        for (const std::string& text : test.inPane)
            EXPECT_NE(outcome.pane.find(text), std::string::npos) << test.file << ": no \"" << text << "\" in\n" << outcome.pane;
        if (test.exactPane) {
            EXPECT_EQ(outcome.pane, test.exactPane) << test.file;
        }
        EXPECT_TRUE(outcome.warnings.empty()) << test.file;
    }
}

TEST_F(Hostile, BinaryJunk)
{
    std::mt19937 random(20240611);
    std::string junk(64 * 1024, '\0');
    for (char& c : junk)
        c = (char)(random() & 0xFF);
    RunRecord("binary junk", junk);
    // Random bytes hold a Ctrl-Z every 256 bytes or so: the same junk without one is read whole.
    for (char& c : junk)
        if (c == 0x1A)
            c = 0x1B;
    RunRecord("binary junk without Ctrl-Z", junk);
}

// Lines of 1,038, 1,039, 1,040 and 100,000 characters, each piece of 1,039 characters a
// file entry of its own for a file that does not exist: the pane shows every piece, last first.
TEST_F(Hostile, LongLinesAreTakenInPiecesLastFirst)
{
    std::string record = "Long lines\r\n";
    std::vector<std::string> pieces;
    for (size_t length : {1038, 1039, 1040, 100000}) {
        std::string line;
        for (int piece = 0; line.size() < length; ++piece) {
            std::string text = Repeat("f    0 0 missing-" + std::to_string(length) + "-" + std::to_string(piece) + "-" +
                                          Repeat("y", 1039),
                                      std::min<size_t>(1039, length - line.size()));
            if (text.size() < 9)
                text = Repeat("z", text.size());  // too short to name a file
            else
                pieces.push_back(text.substr(9));
            line += text;
        }
        record += line + "\r\n";
    }
    std::string expected = "Long lines will now be uninstalled\r\n";
    for (auto piece = pieces.rbegin(); piece != pieces.rend(); ++piece)
        expected += "Deleting file " + *piece + " " + FAILED;
    Outcome outcome = RunRecord("long lines", record);
    EXPECT_EQ(pieces.size(), 100u);
    EXPECT_EQ(outcome.pane, expected + DONE);
}

// A header past every buffer, made of format specifiers: the run shows its first 1,039
// characters unchanged, and the rest of the line names nothing.
TEST_F(Hostile, LongHeaderOfFormatSpecifiers)
{
    std::string header = Repeat("%s%n%x%p", 1100);
    Outcome outcome = RunRecord("header of specifiers", header + "\r\n");
    EXPECT_EQ(outcome.pane, header.substr(0, 1039) + " will now be uninstalled\r\n" + DONE);
}

// Key paths past the 259-character buffer. A path cut at 259 characters would land on a
// sentinel: "...\<235 X>\" is a parent whose subkey Z is the whole text's last name, and
// "...\<234 Y>\Z" is a key of its own. A path of exactly 259 characters is deleted.
TEST_F(Hostile, KeyPathsPastTheBuffer)
{
    std::string key = std::string(SENTINEL_KEY) + "\\";
    std::string target = std::string(TARGET_KEY) + "\\";
    std::string atParent = key + longX + "\\" + Repeat("Q", 39) + "\\Z";
    std::string atKey = key + longY + "\\Z\\" + Repeat("T", 38) + "\\W";
    std::string fits = target + Repeat("T", 226) + "\\Gone";
    std::string tooLong = target + Repeat("T", 227) + "\\Kept";
    ASSERT_EQ(key.size() + longX.size() + 1, 259u);
    ASSERT_EQ(key.size() + longY.size() + 2, 259u);
    ASSERT_EQ(atParent.size(), 300u);
    ASSERT_EQ(atKey.size(), 300u);
    ASSERT_EQ(fits.size(), 259u);
    ASSERT_EQ(tooLong.size(), 260u);
    CreateKey(HKEY_CURRENT_USER, fits);
    CreateKey(HKEY_CURRENT_USER, tooLong);
    std::string record = "Long key paths\r\n";
    for (const std::string& path : {atParent, atKey, fits, tooLong, key + Repeat("K\\", 500)})
        record += "k   HKEY_CURRENT_USER " + path + "\r\n";
    RunRecord("long key paths", record);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, fits));
    // A path too long for the buffer is refused whole, never cut into another name.
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, tooLong));
}

// Names past the other buffers: a command line of 1,035 characters, the longest a line
// can carry, a component path past the 970 characters that the 1,024-byte warning has room for, a shared-file path past the 707 characters of the
// 780-byte key text, and Program Manager names past the 128-byte command buffer.
TEST_F(Hostile, NamesPastTheBuffers)
{
    std::string component = "C:\\zelvo-missing\\" + Repeat("c", 1000) + ".dll";
    std::string shared = "C:\\zelvo-missing\\" + Repeat("s", 740) + ".dll";
    std::string sharedMany = "C:\\zelvo-missing\\" + Repeat("m", 740) + ".txt";
    bool madeSharedKey = !KeyExists(HKEY_LOCAL_MACHINE, SHARED_DLLS);
    HKEY counts;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, SHARED_DLLS, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &counts, NULL),
              ERROR_SUCCESS);
    DWORD one = 1, three = 3;
    RegSetValueExA(counts, shared.c_str(), 0, REG_DWORD, (const BYTE*)&one, sizeof one);
    RegSetValueExA(counts, sharedMany.c_str(), 0, REG_DWORD, (const BYTE*)&three, sizeof three);

    std::string command = "C:\\zelvo-missing\\" + Repeat("e%s", 1014) + ".exe";
    std::string group = Repeat("G%s", 300), item = Repeat("I%n", 300);
    std::string record = "Names past the buffers\r\n"
                         "c   " + command + "\r\n"
                         "d   " + command + "\r\n"
                         "f    0 0 " + component.substr(0, 1030) + "\r\n"
                         "i   " + shared + "\r\n"
                         "i   " + sharedMany + "\r\n"
                         "p     " + group + "@" + item + "\r\n"
                         "p     " + Repeat("g", 113) + "@" + Repeat("i", 114) + "\r\n";
    Outcome outcome = RunRecord("names past the buffers", record, 120);

    // Two components could not be loaded: the shared file and the long path (last first).
    EXPECT_EQ(outcome.warnings.size(), 2u);
    for (const std::string& warning : outcome.warnings) {
        EXPECT_LT(warning.size(), 1024u);
        EXPECT_EQ(warning.compare(0, 33, "RegisterActiveX(C:\\zelvo-missing\\"), 0) << warning;
        EXPECT_NE(warning.find("): LoadLibrary() failed ("), std::string::npos) << warning;
        EXPECT_TRUE(EndsWith(warning, ")")) << warning;
    }
    EXPECT_NE(outcome.pane.find("Deleting file " + component.substr(0, 1030) + " " + FAILED), std::string::npos);
    EXPECT_NE(outcome.pane.find("Execuing '" + command + "'... Failed! ("), std::string::npos);
    DWORD count = 99, size = sizeof count;
    EXPECT_EQ(RegQueryValueExA(counts, shared.c_str(), NULL, NULL, (BYTE*)&count, &size), ERROR_SUCCESS);
    EXPECT_EQ(count, 0u);  // not deleted, so its count is spent
    size = sizeof count;
    EXPECT_EQ(RegQueryValueExA(counts, sharedMany.c_str(), NULL, NULL, (BYTE*)&count, &size), ERROR_SUCCESS);
    EXPECT_EQ(count, 2u);
    RegDeleteValueA(counts, shared.c_str());
    RegDeleteValueA(counts, sharedMany.c_str());
    RegCloseKey(counts);
    if (madeSharedKey)
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, SHARED_DLLS);
}

// 100,000 entries of quick kinds that name nothing that exists, among them file entries
// whose flags keep them from the sentinel files they name.
TEST_F(Hostile, HundredThousandEntriesNamingNothing)
{
    std::string record = "Hundred thousand\r\n";
    for (int i = 0; i < 100000; ++i) {
        std::string n = std::to_string(i);
        switch (i % 10) {
        case 0:
            record += "f    0 0 missing\\file-" + n + ".txt\r\n";
            break;
        case 1:
        case 2:
            record += "f    1 0 ..\\sentinel\\keep.txt\r\n";
            break;
        case 3:
        case 4:
            record += "d   missing-dir-" + n + "\r\n";
            break;
        case 5:
        case 6:
            record += "k   HKEY_CURRENT_USER Software\\ZelvoSentinelMissing\\" + n + "\\Key\r\n";
            break;
        case 7:
            record += "k   HKEY_CURRENT_USER Software\\ZelvoSentinel\\Keep\\missing-" + n + "\r\n";
            break;
        default:
            record += "i   C:\\zelvo-missing\\shared-" + n + ".dll\r\n";
            break;
        }
    }
    Outcome outcome = RunRecord("100,000 entries", record, 240);
    EXPECT_EQ(Count(outcome.pane, FAILED), 10000u);
    EXPECT_TRUE(outcome.warnings.empty());
}

// Components that fault at load, in DllUnregisterServer and at release, among ordinary
// entries: every later entry is still carried out. A component that faulted in
// DllUnregisterServer stays loaded and so cannot be deleted.
TEST_F(Hostile, FaultingComponentsAreContained)
{
    struct File {
        std::string name;
        const char* library;  // copied from this test library, or a plain text file
        bool deleted;
        bool unregistered;  // its DllUnregisterServer ran
    };
    const File files[] = {
        {"first.txt", nullptr, true, false},
        {"a-load-av.dll", "zelvo_component.dll", true, false},  // never loaded: the box, then deleted
        {"b-unreg-div.dll", "zelvo_component.dll", false, true},
        {"c-release-ill.dll", "zelvo_component.dll", true, true},
        {"d-unreg-throw.dll", "zelvo_component.dll", false, true},
        {"e-unreg-av.dll", "zelvo_component.dll", false, true},
        {"f-unreg-raise.dll", "zelvo_component.dll", false, true},
        {"y-good.dll", "zelvo_component.dll", true, true},
        {"z-plain.dll", "zelvo_plain.dll", true, false},
        {"last.txt", nullptr, true, false},
    };
    std::string folder = run + "\\parts";
    CreateDirectoryA(folder.c_str(), NULL);
    CreateDirectoryA((run + "\\gone").c_str(), NULL);
    std::string key = std::string(TARGET_KEY) + "\\Faults";
    CreateKey(HKEY_CURRENT_USER, key, "value", "x");

    // The run meets the entries in this order; the record holds them last first.
    std::vector<std::string> entries;
    for (const File& file : files) {
        std::string path = folder + "\\" + file.name;
        if (file.library)
            ASSERT_TRUE(CopyFileA(SiblingPath(file.library).c_str(), path.c_str(), FALSE)) << path;
        else
            WriteBytes(path, "plain");
        entries.push_back("f    0 0 " + path);
        if (file.name == "a-load-av.dll")
            entries.push_back("k   HKEY_CURRENT_USER " + key);
        if (file.name == "c-release-ill.dll")
            entries.push_back("d   " + run + "\\gone");
    }
    std::string record = "Faulting components\r\n";
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry)
        record += *entry + "\r\n";
    Outcome outcome = RunRecord("faulting components", record);

    for (const File& file : files) {
        std::string path = folder + "\\" + file.name;
        EXPECT_EQ(FileExists(path), !file.deleted) << file.name;
        EXPECT_EQ(FileExists(path + ".unregistered"), file.unregistered) << file.name;
        std::string line = "Deleting file " + path + " " + (file.deleted ? " .. Deleted.\r\n" : FAILED);
        EXPECT_NE(outcome.pane.find(line), std::string::npos) << line << "\nnot in\n" << outcome.pane;
    }
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key));
    EXPECT_FALSE(FolderExists(run + "\\gone"));
    ASSERT_EQ(outcome.warnings.size(), 1u);
    EXPECT_EQ(outcome.warnings[0], "RegisterActiveX(" + folder + "\\a-load-av.dll): LoadLibrary() failed (998)");
}

}  // namespace
