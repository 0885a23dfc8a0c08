// A Program Manager of our own for the tests: a DDEML server under "PROGMAN" that holds
// groups and their items, carries out [ShowGroup], [DeleteItem] and [DeleteGroup], answers a
// request for a group in Program Manager's form, and logs everything it receives.
//   zelvo_progman_server SETUP LOG READY_EVENT [--replace-wine]
// With --replace-wine it first silences Wine's own "PROGMAN" service, which would answer first.
// SETUP lines:
//   group NAME      a group (later items belong to it)
//   item NAME       an item of the last group
//   reply TEXT      answer every group request with TEXT, byte for byte (\r \n \\ \0 escapes)
//   silent          answer no request
//   late            answer requests only after the client's 1,000 ms time-out
// LOG lines, one for each thing received, conversations numbered from 1 as they connect:
//   connect N / disconnect N / request N NAME / execute N COUNT BYTES (escaped as above)
// and when it stops, one line "group NAME: ITEM|ITEM..." for each group left.
// The server registers, then sets the named event; a WM_QUIT posted to its thread stops it.
#include <windows.h>
#include <ddeml.h>

#include "progman_peer.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

struct Group {
    std::string name;
    std::vector<std::string> items;
};

enum ReplyMode { REPLY_STATE, REPLY_TEXT, REPLY_NONE, REPLY_LATE };

DWORD g_instance = 0;
FILE* g_log = NULL;
std::vector<Group> g_groups;
ReplyMode g_mode = REPLY_STATE;
std::string g_replyText;
std::map<HCONV, int> g_conversations;
int g_lastConversation = 0;
std::string g_shownGroup;  // Program Manager deletes items from the group shown last

std::string Escape(const std::string& bytes)
{
    std::string text;
    for (unsigned char c : bytes) {
        char hex[8];
        if (c == '\\')
            text += "\\\\";
        else if (c == '\0')
            text += "\\0";
        else if (c == '\r')
            text += "\\r";
        else if (c == '\n')
            text += "\\n";
        else if (c < 0x20 || c >= 0x7f) {
            snprintf(hex, sizeof hex, "\\x%02x", c);
            text += hex;
        } else
            text += (char)c;
    }
    return text;
}

std::string Unescape(const std::string& text)
{
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            bytes += text[i];
            continue;
        }
        char next = text[++i];
        bytes += next == 'r' ? '\r' : next == 'n' ? '\n' : next == '0' ? '\0' : next;
    }
    return bytes;
}

void Log(const std::string& line)
{
    fprintf(g_log, "%s\n", line.c_str());
    fflush(g_log);  // the test may read the log while this server still runs
}

Group* FindGroup(const std::string& name)
{
    for (Group& group : g_groups)
        if (_stricmp(group.name.c_str(), name.c_str()) == 0)
            return &group;
    return NULL;
}

void LoadSetup(const char* path)
{
    FILE* file = fopen(path, "rb");
    if (!file)
        return;
    char line[4096];
    while (fgets(line, sizeof line, file)) {
        std::string text = line;
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        std::string word = text.substr(0, text.find(' '));
        std::string rest = text.size() > word.size() ? text.substr(word.size() + 1) : "";
        if (word == "group")
            g_groups.push_back({rest, {}});
        else if (word == "item" && !g_groups.empty())
            g_groups.back().items.push_back(rest);
        else if (word == "reply") {
            g_mode = REPLY_TEXT;
            g_replyText = Unescape(rest);
        } else if (word == "silent")
            g_mode = REPLY_NONE;
        else if (word == "late")
            g_mode = REPLY_LATE;
    }
    fclose(file);
}

// The text between the command's "(" and its last ")", or between "(" and the last "," when
// `beforeComma` (ShowGroup's second argument is the show command).
std::string Argument(const std::string& command, bool beforeComma)
{
    size_t open = command.find('(');
    size_t close = command.rfind(beforeComma ? ',' : ')');
    if (open == std::string::npos || close == std::string::npos || close < open)
        return "";
    return command.substr(open + 1, close - open - 1);
}

bool CarryOut(const std::string& command)
{
    if (command.rfind("[ShowGroup(", 0) == 0) {
        Group* group = FindGroup(Argument(command, true));
        if (!group)
            return false;
        g_shownGroup = group->name;
        return true;
    }
    if (command.rfind("[DeleteItem(", 0) == 0) {
        Group* group = FindGroup(g_shownGroup);
        std::string item = Argument(command, false);
        for (size_t i = 0; group && i < group->items.size(); ++i) {
            if (_stricmp(group->items[i].c_str(), item.c_str()) == 0) {
                group->items.erase(group->items.begin() + i);
                return true;
            }
        }
        return false;
    }
    if (command.rfind("[DeleteGroup(", 0) == 0) {
        std::string name = Argument(command, false);
        for (size_t i = 0; i < g_groups.size(); ++i) {
            if (_stricmp(g_groups[i].name.c_str(), name.c_str()) == 0) {
                g_groups.erase(g_groups.begin() + i);
                return true;
            }
        }
    }
    return false;
}

// Program Manager's answer: the quoted group name, its group file, the item count and the
// show command, then one line for each item.
std::string GroupReply(const Group& group)
{
    std::string reply = "\"" + group.name + "\",C:\\ZELVO\\" + group.name + ".GRP," +
                        std::to_string(group.items.size()) + ",1\r\n";
    for (const std::string& item : group.items)
        reply += "\"" + item + "\",\"NOTEPAD.EXE\",C:\\ZELVO,NOTEPAD.EXE,0,0,0,0,0\r\n";
    return reply + std::string(1, '\0');
}

std::string StringOf(HSZ handle)
{
    char text[1024] = "";
    DdeQueryStringA(g_instance, handle, text, sizeof text, CP_WINANSI);
    return text;
}

HDDEDATA OnRequest(HCONV conversation, HSZ item)
{
    std::string name = StringOf(item);
    Log("request " + std::to_string(g_conversations[conversation]) + " " + name);
    std::string reply;
    if (g_mode == REPLY_NONE)
        return 0;
    if (g_mode == REPLY_TEXT) {
        reply = g_replyText;
    } else {
        Group* group = FindGroup(name);
        if (!group)
            return 0;
        reply = GroupReply(*group);
        // Held past the client's time-out; an answer that comes this late must count for nothing.
        if (g_mode == REPLY_LATE)
            Sleep(1200);
    }
    return DdeCreateDataHandle(g_instance, (LPBYTE)reply.data(), (DWORD)reply.size(), 0, item, CF_TEXT, 0);
}

HDDEDATA OnExecute(HCONV conversation, HDDEDATA data)
{
    DWORD size = DdeGetData(data, NULL, 0, 0);
    std::string bytes(size, '\0');
    if (size)
        DdeGetData(data, (LPBYTE)&bytes[0], size, 0);
    Log("execute " + std::to_string(g_conversations[conversation]) + " " + std::to_string(size) + " " +
        Escape(bytes));
    return (HDDEDATA)(ULONG_PTR)(CarryOut(bytes.c_str()) ? DDE_FACK : DDE_FNOTPROCESSED);
}

HDDEDATA CALLBACK ServerCallback(UINT type, UINT format, HCONV conversation, HSZ topic, HSZ item, HDDEDATA data,
                                 ULONG_PTR, ULONG_PTR)
{
    switch (type) {
    case XTYP_CONNECT:
        return (HDDEDATA)(ULONG_PTR)(_stricmp(StringOf(topic).c_str(), "PROGMAN") == 0);
    case XTYP_CONNECT_CONFIRM:
        g_conversations[conversation] = ++g_lastConversation;
        Log("connect " + std::to_string(g_lastConversation));
        return 0;
    case XTYP_DISCONNECT:
        Log("disconnect " + std::to_string(g_conversations[conversation]));
        g_conversations.erase(conversation);
        return 0;
    case XTYP_REQUEST:
        return format == CF_TEXT ? OnRequest(conversation, item) : 0;
    case XTYP_EXECUTE:
        return OnExecute(conversation, data);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    if (argc > 4 && strcmp(argv[4], "--replace-wine") == 0 && !SilenceWineProgman())
        return 6;
    LoadSetup(argv[1]);
    g_log = fopen(argv[2], "wb");
    if (!g_log)
        return 3;
    if (DdeInitializeA(&g_instance, ServerCallback, APPCLASS_STANDARD | CBF_FAIL_POKES | CBF_SKIP_REGISTRATIONS |
                                                        CBF_SKIP_UNREGISTRATIONS, 0) != DMLERR_NO_ERROR)
        return 4;
    HSZ service = DdeCreateStringHandleA(g_instance, "PROGMAN", CP_WINANSI);
    if (!DdeNameService(g_instance, service, 0, DNS_REGISTER))
        return 5;
    MSG msg;
    PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE);  // the queue exists before anyone posts the quit
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[3]);
    SetEvent(ready);
    CloseHandle(ready);

    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }

    DdeNameService(g_instance, service, 0, DNS_UNREGISTER);
    DdeFreeStringHandle(g_instance, service);
    DdeUninitialize(g_instance);
    for (const Group& group : g_groups) {
        std::string line = "group " + group.name + ":";
        for (size_t i = 0; i < group.items.size(); ++i)
            line += (i ? "|" : " ") + group.items[i];
        Log(line);
    }
    fclose(g_log);
    return 0;
}
