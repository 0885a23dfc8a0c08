#include "progman.h"

#include <cstdlib>
#include <cstring>

#include "../engine/progress.h"
#include "progman_text.h"

DWORD g_ddeInstance = 0;
CONVCONTEXT g_ddeConvContext = {sizeof(CONVCONTEXT), 0, 0, 0, 0, 0, {}};

static const char PROGMAN_SERVICE[] = "PROGMAN";  // service and topic alike
enum { EXECUTE_TIMEOUT_MS = 10000, REQUEST_TIMEOUT_MS = 1000 };

// Formats one command into the buffer and runs it as an execute transaction on the
// conversation of g_ddeInstance; non-zero when the shell accepted it.
static int SendProgmanCommand(HCONV conversation, char* buffer, SIZE_T size, ProgmanCommand command,
                              const char* name)
{
    DWORD count = (DWORD)FormatProgmanCommand(buffer, size, command, name);
    HDDEDATA data = DdeCreateDataHandle(g_ddeInstance, (LPBYTE)buffer, count, 0, 0, CF_TEXT, 0);
    if (!data)
        return 0;
    DWORD status = 0;
    // The length -1 hands the data handle over: DDEML frees it, this code never does.
    return DdeClientTransaction((LPBYTE)data, (DWORD)-1, conversation, 0, 0, XTYP_EXECUTE, EXECUTE_TIMEOUT_MS,
                                &status) != 0;
}

void RemoveProgmanEntry(const char* payload)
{
    // The entry's own text stays whole: the split happens in a copy.
    char* copy = strdup(payload);
    if (!copy)
        return;
    char* at = strchr(copy, '@');
    if (at) {
        *at = '\0';
        const char* group = copy;
        const char* item = at + 1;  // further "@" belong to the item name
        DeleteProgmanItem(group, item);
        if (IsProgmanGroupEmpty(group))
            DeleteProgmanGroup(group);
    }
    free(copy);
}

// The two delete routines differ only in their commands and texts: each obtains the command
// buffer, opens its DDEML instance in g_ddeInstance and one conversation, sends two commands
// on it, and releases all before it returns. A NULL failure text means the failure says nothing.
static int SendProgmanCommands(ProgmanCommand first, const char* firstName, const char* firstFailure,
                               ProgmanCommand second, const char* secondName, const char* secondFailure,
                               const char* initFailure)
{
    // A record line can carry names far longer than 128 bytes hold: those get the room they need.
    SIZE_T size = ProgmanCommandBufferSize(first, firstName, second, secondName);
    // Released, not only decommitted, when done: a decommitted block keeps its 64 KB of address
    // space, and a long record would run a 32-bit process out of it.
    char* buffer = (char*)VirtualAlloc(NULL, size, MEM_COMMIT, PAGE_READWRITE);
    if (!buffer) {
        LogMessage("****Memory Allocation failure");
        return 0;
    }
    if (DdeInitializeA(&g_ddeInstance, ProgmanDdeCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) {
        LogMessage("%s", initFailure);
        VirtualFree(buffer, 0, MEM_RELEASE);
        return 0;
    }
    HSZ progman = DdeCreateStringHandleA(g_ddeInstance, PROGMAN_SERVICE, CP_WINANSI);
    if (progman) {
        // With no shell there is no conversation; the transactions then fail and say so.
        HCONV conversation = DdeConnect(g_ddeInstance, progman, progman, &g_ddeConvContext);
        if (!SendProgmanCommand(conversation, buffer, size, first, firstName) && firstFailure)
            LogMessage("%s", firstFailure);
        if (!SendProgmanCommand(conversation, buffer, size, second, secondName) && secondFailure)
            LogMessage("%s", secondFailure);
        DdeFreeStringHandle(g_ddeInstance, progman);
        DdeDisconnect(conversation);
    }
    VirtualFree(buffer, 0, MEM_RELEASE);
    DdeUninitialize(g_ddeInstance);
    g_ddeInstance = 0;
    return 1;
}

int DeleteProgmanItem(const char* group, const char* item)
{
    // Program Manager deletes items of the group it shows last.
    return SendProgmanCommands(PROGMAN_SHOW_GROUP, group, NULL, PROGMAN_DELETE_ITEM, item,
                               "****DdeClientTransaction Failed", "****DDEML Initialization Failure");
}

// Copies the reply with a NUL after it (the shell need not send one), releases the reply and
// reads the copy; 1 when the group's item count is 0.
static int ReadProgmanReply(HDDEDATA reply)
{
    DWORD count = 0;
    BYTE* bytes = DdeAccessData(reply, &count);
    SIZE_T size = (SIZE_T)count + 1;
    char* copy = bytes ? (char*)VirtualAlloc(NULL, size, MEM_COMMIT, PAGE_READWRITE) : NULL;
    if (copy) {
        memcpy(copy, bytes, count);
        copy[count] = '\0';
    }
    DdeUnaccessData(reply);
    DdeFreeDataHandle(reply);
    if (!copy)
        return 0;
    int empty = ProgmanReplyIsEmpty(copy);
    VirtualFree(copy, 0, MEM_RELEASE);
    return empty;
}

int IsProgmanGroupEmpty(const char* group)
{
    int result = 0;
    DWORD instance = 0;
    if (DdeInitializeA(&instance, ProgmanDdeCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
        return 0;
    HSZ progman = DdeCreateStringHandleA(instance, PROGMAN_SERVICE, CP_WINANSI);
    HCONV conversation = progman ? DdeConnect(instance, progman, progman, &g_ddeConvContext) : 0;
    // No handle for the name (an empty name, or one too long for an atom) means no request:
    // a request with no item is not one that any answer could count as empty.
    HSZ groupName = DdeCreateStringHandleA(instance, group, CP_WINANSI);
    HDDEDATA reply = 0;
    if (conversation && groupName) {
        DWORD status = 0;
        reply = DdeClientTransaction(NULL, 0, conversation, groupName, CF_TEXT, XTYP_REQUEST, REQUEST_TIMEOUT_MS,
                                     &status);
    }
    if (progman)
        DdeFreeStringHandle(instance, progman);
    if (groupName)
        DdeFreeStringHandle(instance, groupName);
    if (conversation)
        DdeDisconnect(conversation);
    // A request that returns 0 or 1 brought no data: nothing to read, the group stays.
    if ((ULONG_PTR)reply > 1)
        result = ReadProgmanReply(reply);
    DdeUninitialize(instance);
    return result;
}

int DeleteProgmanGroup(const char* group)
{
    return SendProgmanCommands(PROGMAN_DELETE_GROUP, group, "***DdeClientTransaction Failed", PROGMAN_SHOW_GROUP,
                               group, NULL, "***DDEML Initialization Failure\r\n");
}

// The client asks nothing of DDEML's callbacks: every transaction here is synchronous.
HDDEDATA CALLBACK ProgmanDdeCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR)
{
    return 0;
}
