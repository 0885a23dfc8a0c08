// The program itself, end to end: the real Uninstall.exe is started in a scratch folder,
// its window is found, read and pressed from outside, and its exit code is read.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "shell/resource.h"
#include "test_support.h"
#include "find_window.h"

namespace {

const char* const CAPTION = "Zelvo Uninstall";
const DWORD QUIT_CODE = 0xFFFFFFFF;  // the -1 of PostQuitMessage
const char* const DONE = "Done. Press [Close] to exit.";

std::string Confirmation(const std::string& product)
{
    return "This program will uninstall " + product + ".\r\n\r\n Press OK to continue, Cancel to abort.";
}

std::string Sleeper(int milliseconds)
{
    return "\"" + SiblingPath("zelvo_sleep.exe") + "\" " + std::to_string(milliseconds);
}

// Polls `done` every 10 ms until it holds or `milliseconds` have passed.
bool WaitFor(const std::function<bool()>& done, DWORD milliseconds)
{
    for (DWORD start = GetTickCount(); !done(); Sleep(10))
        if (GetTickCount() - start > milliseconds)
            return false;
    return true;
}

// One started Uninstall.exe and its window. Whatever it started is ended with the test.
class Uninstaller {
public:
    // Starts the program with `folder` as its current directory. `show` is the show command
    // of its start-up data (none when negative).
    explicit Uninstaller(const std::string& folder, int show = -1)
    {
        STARTUPINFOA startup;
        memset(&startup, 0, sizeof startup);
        startup.cb = sizeof startup;
        if (show >= 0) {
            startup.dwFlags = STARTF_USESHOWWINDOW;
            startup.wShowWindow = (WORD)show;
        }
        std::string program = SiblingPath("Uninstall.exe");
        std::string commandLine = "\"" + program + "\"";
        if (!CreateProcessA(program.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, folder.c_str(), &startup,
                            &process_)) {
            ADD_FAILURE() << "Uninstall.exe did not start: " << GetLastError();
            return;
        }
        WaitFor([&] { return (window = FindUninstallWindow(process_.dwProcessId)) != NULL || Exited(); }, 15000);
    }

    ~Uninstaller()
    {
        if (!process_.hProcess)
            return;
        if (!Exited())
            TerminateProcess(process_.hProcess, 1);
        EndChildren();
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }

    HWND Item(int id) const { return GetDlgItem(window, id); }

    // A control's text, asked for by message: the text of another process's edit control
    // is not in reach of GetWindowText.
    std::string Text(int id) const
    {
        DWORD_PTR length = 0;
        SendMessageTimeoutA(Item(id), WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &length);
        std::vector<char> text(length + 1);
        DWORD_PTR copied = 0;
        SendMessageTimeoutA(Item(id), WM_GETTEXT, length + 1, (LPARAM)text.data(), SMTO_NORMAL, 5000, &copied);
        return std::string(text.data(), copied);
    }

    // Presses a button the way a mouse click does.
    void Click(int id) const
    {
        DWORD_PTR ignored;
        SendMessageTimeoutA(Item(id), BM_CLICK, 0, 0, SMTO_NORMAL, 5000, &ignored);
    }

    bool Exited() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; }

    // The exit code once the process has ended, STILL_ACTIVE when it has not in time.
    DWORD ExitCode(DWORD milliseconds) const
    {
        WaitForSingleObject(process_.hProcess, milliseconds);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

    DWORD ThreadId() const { return GetWindowThreadProcessId(window, NULL); }

    HWND window = NULL;

private:
    // A command it started outlives it when the window is closed during the run.
    void EndChildren() const
    {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32 entry;
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
            if (entry.th32ParentProcessID != process_.dwProcessId)
                continue;
            HANDLE child = OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID);
            TerminateProcess(child, 1);
            CloseHandle(child);
        }
        CloseHandle(snapshot);
    }

    PROCESS_INFORMATION process_ = {};
};

bool WaitUntilDone(const Uninstaller& program, DWORD milliseconds)
{
    return WaitFor([&] { return program.Text(IDC_STATUS) == "Uninstall done."; }, milliseconds);
}

// The look of the window's three states, as one comparable line of facts.
std::string Look(const Uninstaller& program)
{
    return std::string("OK \"") + program.Text(IDOK) + "\" " + (IsWindowEnabled(program.Item(IDOK)) ? "enabled" : "disabled") +
           ", Cancel " + (IsWindowVisible(program.Item(IDCANCEL)) ? "visible" : "hidden");
}
const char* const CONFIRMING = "OK \"OK\" enabled, Cancel visible";
const char* const RUNNING = "OK \"OK\" disabled, Cancel hidden";
const char* const FINISHED = "OK \"Close.\" enabled, Cancel hidden";

// Enter, Escape and Tab as keyboard messages to the window, its buttons, its pane and
// whatever holds the focus. The window has no dialog keyboard interface: nothing may happen.
void PressDialogKeys(const Uninstaller& program)
{
    GUITHREADINFO before = {};
    before.cbSize = sizeof before;
    GetGUIThreadInfo(program.ThreadId(), &before);
    std::string status = program.Text(IDC_STATUS);
    std::string look = Look(program);

    HWND targets[] = {before.hwndFocus, program.window, program.Item(IDOK), program.Item(IDCANCEL), program.Item(IDC_PROGRESS)};
    const struct {
        WPARAM key;
        WPARAM character;
    } keys[] = {{VK_RETURN, '\r'}, {VK_ESCAPE, 0x1b}, {VK_TAB, '\t'}};
    for (HWND target : targets) {
        for (const auto& key : keys) {
            PostMessageA(target, WM_KEYDOWN, key.key, 1);
            PostMessageA(target, WM_CHAR, key.character, 1);
            PostMessageA(target, WM_KEYUP, key.key, 0xC0000001);
        }
    }
    Sleep(300);
    ASSERT_FALSE(program.Exited()) << "a key ended the program";
    GUITHREADINFO after = {};
    after.cbSize = sizeof after;
    GetGUIThreadInfo(program.ThreadId(), &after);
    EXPECT_EQ(before.hwndFocus, after.hwndFocus) << "Tab moved the focus";
    EXPECT_EQ(status, program.Text(IDC_STATUS));
    EXPECT_EQ(look, Look(program));
}

// Centred on the whole screen, halves rounded down, nothing clamped.
void ExpectCentred(HWND window)
{
    RECT frame, screen;
    GetWindowRect(window, &frame);
    GetClientRect(GetDesktopWindow(), &screen);
    LONG w = frame.right - frame.left, h = frame.bottom - frame.top;
    LONG W = screen.right, H = screen.bottom;
    EXPECT_EQ(W / 2 - w / 2, frame.left) << "screen " << W << " x " << H << ", window " << w << " x " << h;
    EXPECT_EQ(H - H / 2 - h / 2, frame.top) << "screen " << W << " x " << H << ", window " << w << " x " << h;
}

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override { folder = MakeScratchFolder(); }
    std::string In(const std::string& name) const { return folder + "\\" + name; }
    std::string folder;
};

TEST_F(ShellTest, ConfirmingWindowIsCentredIgnoresKeysAndCancelLeavesEverything)
{
    std::string record = "Zelvo Demo 2.0\r\nf    0 0 " + In("keep.txt") + "\r\n";
    WriteBytes(".UnInst.inf", record);
    WriteBytes("keep.txt", "x");
    Uninstaller program(folder);
    ASSERT_TRUE(program.window);
    EXPECT_EQ(Confirmation("Zelvo Demo 2.0"), program.Text(IDC_STATUS));
    EXPECT_EQ(CONFIRMING, Look(program));
    EXPECT_EQ("Cancel", program.Text(IDCANCEL));
    EXPECT_EQ("", program.Text(IDC_PROGRESS));
    ExpectCentred(program.window);
    PressDialogKeys(program);

    program.Click(IDCANCEL);
    EXPECT_EQ(QUIT_CODE, program.ExitCode(5000));
    EXPECT_EQ(record, ReadBytes(".UnInst.inf"));
    EXPECT_TRUE(FileExists("keep.txt"));
}

TEST_F(ShellTest, ClosingBeforeOkEndsLikeCancel)
{
    const struct {
        const char* name;
        UINT message;
        WPARAM wParam;
    } closes[] = {{"WM_CLOSE", WM_CLOSE, 0}, {"system menu Close", WM_SYSCOMMAND, SC_CLOSE}};
    std::string record = "Zelvo Demo\nf    0 0 " + In("keep.txt") + "\n";
    for (const auto& close : closes) {
        SCOPED_TRACE(close.name);
        WriteBytes(".UnInst.inf", record);
        WriteBytes("keep.txt", "x");
        Uninstaller program(folder);
        ASSERT_TRUE(program.window);
        PostMessageA(program.window, close.message, close.wParam, 0);
        EXPECT_EQ(QUIT_CODE, program.ExitCode(5000));
        EXPECT_EQ(record, ReadBytes(".UnInst.inf"));
        EXPECT_TRUE(FileExists("keep.txt"));
    }
}

TEST_F(ShellTest, RunningWindowFillsIgnoresKeysAndClosesAtOnce)
{
    // Last line first: the command runs before the file entry is reached.
    std::string record = "Zelvo Demo\nf    0 0 " + In("keep.txt") + "\nc   " + Sleeper(30000) + "\n";
    WriteBytes(".UnInst.inf", record);
    WriteBytes("keep.txt", "x");
    Uninstaller program(folder);
    ASSERT_TRUE(program.window);
    program.Click(IDOK);
    std::string waiting = "Zelvo Demo will now be uninstalled\r\nExecuing '" + Sleeper(30000) + "'... OK. Waiting...";
    ASSERT_TRUE(WaitFor([&] { return program.Text(IDC_PROGRESS) == waiting; }, 10000)) << program.Text(IDC_PROGRESS);
    EXPECT_EQ(RUNNING, Look(program));
    EXPECT_EQ(Confirmation("Zelvo Demo"), program.Text(IDC_STATUS));

    PressDialogKeys(program);

    PostMessageA(program.window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(QUIT_CODE, program.ExitCode(3000));
    EXPECT_EQ(record, ReadBytes(".UnInst.inf"));
    EXPECT_TRUE(FileExists("keep.txt"));
}

// A command that runs past the loop's 60-second wait. Left alone for that minute, the wait
// times out and must simply be made again: the window keeps its running look and answers
// every probe within 100 ms, and the run ends only with the command.
TEST_F(ShellTest, CommandOutlastingTheWaitSliceKeepsTheWindowRunning)
{
    const int COMMAND_MS = 64000;
    WriteBytes("a.txt", "x");
    WriteBytes(".UnInst.inf", "Zelvo Demo\nf    0 0 " + In("a.txt") + "\nc   " + Sleeper(COMMAND_MS) + "\n");
    Uninstaller program(folder);
    ASSERT_TRUE(program.window);
    DWORD pressed = GetTickCount();
    program.Click(IDOK);
    ASSERT_TRUE(WaitFor([&] { return program.Text(IDC_PROGRESS).find("OK. Waiting...") != std::string::npos; }, 10000));
    Sleep(61500);  // no message at all: the wait has to run out
    EXPECT_EQ(Confirmation("Zelvo Demo"), program.Text(IDC_STATUS));
    EXPECT_EQ(RUNNING, Look(program));

    int probes = 0, late = 0;
    while (program.Text(IDC_STATUS) != "Uninstall done." && GetTickCount() - pressed < COMMAND_MS + 20000) {
        DWORD_PTR ignored;
        ++probes;
        if (!SendMessageTimeoutA(program.window, WM_NULL, 0, 0, SMTO_NORMAL, 100, &ignored))
            ++late;
        Sleep(100);
    }
    EXPECT_EQ(0, late) << "of " << probes << " probes";
    EXPECT_LT(10, probes);
    EXPECT_GE(GetTickCount() - pressed, (DWORD)COMMAND_MS) << "finished before the command ended";
    EXPECT_EQ(FINISHED, Look(program));
    EXPECT_EQ("Zelvo Demo will now be uninstalled\r\n"
              "Execuing '" + Sleeper(COMMAND_MS) + "'... OK. Waiting...\r\n"
              "Deleting file " + In("a.txt") + "  .. Deleted.\r\n" + DONE,
              program.Text(IDC_PROGRESS));
    PostMessageA(program.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(QUIT_CODE, program.ExitCode(5000));
}

TEST_F(ShellTest, FullRunFinishesAndCloseEnds)
{
    // The window holds 259 characters of the header, the run's report all of it.
    std::string product(300, 'P');
    product[258] = 'Q';
    CreateDirectoryA("app", NULL);
    WriteBytes("app\\a.txt", "x");
    WriteBytes(".UnInst.inf", product + "\nd   " + In("app") + "\nf    0 0 " + In("app\\a.txt") + "\nc   " + Sleeper(300) + "\n");
    Uninstaller program(folder);
    ASSERT_TRUE(program.window);
    EXPECT_EQ(Confirmation(product.substr(0, 259)), program.Text(IDC_STATUS));
    program.Click(IDOK);
    ASSERT_TRUE(WaitUntilDone(program, 15000)) << program.Text(IDC_STATUS);
    EXPECT_EQ(FINISHED, Look(program));
    EXPECT_EQ(product + " will now be uninstalled\r\n"
                        "Execuing '" + Sleeper(300) + "'... OK. Waiting...\r\n"
                        "Deleting file " + In("app\\a.txt") + "  .. Deleted.\r\n" + DONE,
              program.Text(IDC_PROGRESS));
    EXPECT_FALSE(FileExists(".UnInst.inf"));
    EXPECT_FALSE(FolderExists("app"));
    PressDialogKeys(program);

    program.Click(IDOK);
    EXPECT_EQ(QUIT_CODE, program.ExitCode(5000));
}

TEST_F(ShellTest, MissingRecordStillFinishes)
{
    Uninstaller program(folder);
    ASSERT_TRUE(program.window);
    EXPECT_EQ(Confirmation(""), program.Text(IDC_STATUS));
    program.Click(IDOK);
    ASSERT_TRUE(WaitUntilDone(program, 15000)) << program.Text(IDC_STATUS);
    EXPECT_EQ(FINISHED, Look(program));
    EXPECT_EQ("Unable to open .UnInst.inf\r\nPress ENTER to exit.", program.Text(IDC_PROGRESS));
    PostMessageA(program.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(QUIT_CODE, program.ExitCode(5000));
}

TEST_F(ShellTest, PaneHoldsARunPastTheEditControlsDefaultLimit)
{
    // 2,000 failed deletions, well past the 30,000-odd characters an edit control takes
    // by default. Minimised, the window is not redrawn for every line.
    std::string record = "Big\n", expected = "Big will now be uninstalled\r\n";
    for (int i = 0; i < 2000; ++i)
        record += "f    0 0 " + In("missing-" + std::to_string(i) + ".txt") + "\n";
    for (int i = 1999; i >= 0; --i)
        expected += "Deleting file " + In("missing-" + std::to_string(i) + ".txt") + "  .. Failed to delete file.\r\n";
    expected += DONE;
    WriteBytes(".UnInst.inf", record);
    Uninstaller program(folder, SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(program.window);
    EXPECT_TRUE(IsIconic(program.window)) << "the show command of the start-up data was not used";
    program.Click(IDOK);
    ASSERT_TRUE(WaitUntilDone(program, 120000));
    std::string pane = program.Text(IDC_PROGRESS);
    EXPECT_EQ(expected.size(), pane.size());
    EXPECT_TRUE(pane == expected) << "the pane ends with: " << pane.substr(pane.size() > 200 ? pane.size() - 200 : 0);
    program.Click(IDOK);
    EXPECT_EQ(QUIT_CODE, program.ExitCode(5000));
}

// Reads a classic dialog template or an icon directory, little-endian, as the loader does.
struct ResourceReader {
    const BYTE* at;
    WORD Word()
    {
        WORD value;
        memcpy(&value, at, sizeof value);
        at += sizeof value;
        return value;
    }
    DWORD Dword()
    {
        DWORD value;
        memcpy(&value, at, sizeof value);
        at += sizeof value;
        return value;
    }
    short Short() { return (short)Word(); }
    // A zero-terminated UTF-16 text (ASCII here), or "#n" for an ordinal.
    std::string NameOrOrdinal()
    {
        std::string text;
        WORD first = Word();
        if (first == 0xFFFF)
            return "#" + std::to_string(Word());
        for (WORD c = first; c; c = Word())
            text += (char)c;
        return text;
    }
    void AlignDword(const BYTE* base) { at += (4 - (at - base) % 4) % 4; }
};

// A predefined class is named by its atom (0x80 Button, 0x81 Edit, 0x82 Static) or by its
// name in any case; both give the same control.
std::string ClassName(std::string name)
{
    const char* atoms[] = {"BUTTON", "EDIT", "STATIC"};
    for (int i = 0; i < 3; ++i)
        if (name == "#" + std::to_string(0x80 + i))
            return atoms[i];
    CharUpperA(&name[0]);
    return name;
}

const BYTE* Resource(HMODULE module, LPCSTR type, int id, DWORD* size)
{
    HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(id), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    if (!found)
        return NULL;
    *size = SizeofResource(module, found);
    return (const BYTE*)LockResource(LoadResource(module, found));
}

TEST(ShellResources, DialogAndIconAreTheProgramsOwn)
{
    HMODULE module = LoadLibraryExA(SiblingPath("Uninstall.exe").c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(module);
    DWORD size = 0;
    const BYTE* dialog = Resource(module, RT_DIALOG, IDD_UNINSTALL, &size);
    ASSERT_TRUE(dialog) << "no dialog 101 in English (United States)";
    ResourceReader read = {dialog};
    DWORD style = read.Dword();
    ASSERT_NE(0xFFFF0001u, style) << "an extended template";
    EXPECT_EQ((DWORD)(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT), style);
    EXPECT_EQ(0u, read.Dword()) << "extended style";
    WORD count = read.Word();
    short x = read.Short(), y = read.Short(), cx = read.Short(), cy = read.Short();
    EXPECT_EQ("0,0 300x175", std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(cx) + "x" + std::to_string(cy));
    EXPECT_EQ("", read.NameOrOrdinal()) << "menu";
    EXPECT_EQ("", read.NameOrOrdinal()) << "class";
    EXPECT_EQ(CAPTION, read.NameOrOrdinal());
    EXPECT_EQ(8, read.Word());
    EXPECT_EQ("MS Sans Serif", read.NameOrOrdinal());

    const struct {
        int id;
        const char* className;
        const char* text;
        const char* place;
        DWORD style;
    } controls[] = {
        {IDOK, "BUTTON", "OK", "243,7 50x14", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON},
        {IDCANCEL, "BUTTON", "Cancel", "243,24 50x14", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON},
        {IDC_STATUS, "STATIC", "XXX", "7,7 143x45", WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT},
        {IDC_PROGRESS, "EDIT", "", "7,59 286x109",
         WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY},
    };
    ASSERT_EQ(4, count);
    for (const auto& control : controls) {
        SCOPED_TRACE(control.id);
        read.AlignDword(dialog);
        EXPECT_EQ(control.style, read.Dword());
        EXPECT_EQ(0u, read.Dword()) << "extended style";
        x = read.Short(), y = read.Short(), cx = read.Short(), cy = read.Short();
        EXPECT_EQ(control.place, std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(cx) + "x" + std::to_string(cy));
        EXPECT_EQ(control.id, read.Word());
        EXPECT_EQ(control.className, ClassName(read.NameOrOrdinal()));
        EXPECT_EQ(control.text, read.NameOrOrdinal());
        read.at += read.Word();  // creation data
    }
    EXPECT_LE((DWORD)(read.at - dialog), size);

    const BYTE* group = Resource(module, RT_GROUP_ICON, IDI_UNINSTALL, &size);
    ASSERT_TRUE(group) << "no icon group 102 in English (United States)";
    read.at = group;
    EXPECT_EQ(0, read.Word());
    EXPECT_EQ(1, read.Word()) << "type: icon";
    EXPECT_EQ(1, read.Word()) << "images";
    EXPECT_EQ((DWORD)(32 | 32 << 8 | 16 << 16), read.Dword()) << "width, height, colours, reserved";
    EXPECT_EQ(1, read.Word()) << "planes";
    EXPECT_EQ(4, read.Word()) << "bits per pixel";
    read.Dword();
    EXPECT_EQ(1, read.Word()) << "image resource";
    const BYTE* image = Resource(module, RT_ICON, 1, &size);
    ASSERT_TRUE(image);
    BITMAPINFOHEADER header;
    memcpy(&header, image, sizeof header);
    EXPECT_EQ("32x64 4 bits", std::to_string(header.biWidth) + "x" + std::to_string(header.biHeight) + " " +
                                  std::to_string(header.biBitCount) + " bits");
    FreeLibrary(module);
}

}  // namespace
