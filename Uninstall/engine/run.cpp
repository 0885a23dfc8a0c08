#include "run.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "../actions/files.h"
#include "../actions/progman.h"
#include "../actions/regkey.h"
#include "../actions/shareddll.h"
#include "progress.h"
#include "record.h"

const char* g_recordPath = ".UnInst.inf";
EntryNode* g_entryList = NULL;

// Puts a copy of one line at the head of the list. An entry that finds no memory is skipped.
static void AddEntry(const char* line)
{
    EntryNode* node = (EntryNode*)malloc(sizeof(EntryNode));
    char* text = strdup(line);
    if (!node || !text) {
        free(node);
        free(text);
        return;
    }
    char* lineFeed = strchr(text, '\n');
    if (lineFeed)
        *lineFeed = '\0';
    node->text = text;
    node->next = g_entryList;
    g_entryList = node;
}

static void RunCommand(char* commandLine)
{
    LogMessage("Execuing '%s'... ", commandLine);
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    memset(&process, 0, sizeof process);
    if (CreateProcessA(NULL, commandLine, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
        LogMessage("OK. Waiting...");
        // The primary thread, not the process: a command is done when its main thread is.
        WaitForSingleObject(process.hThread, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        LogMessage("Failed! (%d)", (int)GetLastError());
    }
    LogMessage("\r\n");
}

static void DeleteFileEntry(const char* payload)
{
    // Only flags "0" "0" with the path position present delete anything.
    if (payload[FILE_FLAG_FIRST] != '0' || payload[1] == '\0' || payload[FILE_FLAG_SECOND] != '0' ||
        payload[3] == '\0')
        return;
    const char* path = payload + FILE_PATH_POSITION;
    LogMessage("Deleting file %s ", path);
    if (DeleteFileAndUnregister(path))
        LogMessage(" .. Deleted.\r\n");
    else
        LogMessage(" .. Failed to delete file.\r\n");
}

static void UndoEntry(char* text)
{
    char* payload = NULL;
    EntryKind kind = ClassifyEntry(text, &payload);
    if (kind == ENTRY_OTHER || !payload)
        return;  // a line that ends before its payload does nothing
    switch (kind) {
    case ENTRY_SHARED_DLL:
        ReleaseSharedDll(payload);
        break;
    case ENTRY_FILE:
        DeleteFileEntry(payload);
        break;
    case ENTRY_REG_KEY:
        DeleteRegistryKey(payload);
        break;
    case ENTRY_DIRECTORY:
        RemoveDirectoryA(payload);
        break;
    case ENTRY_PROGMAN:
        RemoveProgmanEntry(payload);
        break;
    case ENTRY_COMMAND:
        RunCommand(payload);
        break;
    case ENTRY_OTHER:
        break;
    }
}

int RunUninstall(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '/')
            LogMessage("Unknown argument %s\r\n", argv[i]);
        else
            g_recordPath = argv[i];
    }

    RecordFile record;
    if (!OpenRecord(&record, g_recordPath)) {
        LogMessage("Unable to open %s\r\nPress ENTER to exit.", g_recordPath);
        getchar();
        return -1;
    }

    char line[LINE_BUFFER_SIZE];
    line[0] = '\0';
    ReadRecordLine(&record, line, sizeof line);
    char* lineFeed = strchr(line, '\n');
    if (lineFeed)
        *lineFeed = '\0';
    LogMessage("%s will now be uninstalled\r\n", line);

    while (ReadRecordLine(&record, line, sizeof line))
        AddEntry(line);
    CloseRecord(&record);

    for (EntryNode* node = g_entryList; node; node = node->next)
        UndoEntry(node->text);

    DeleteFileA(g_recordPath);
    LogMessage("Done. Press [Close] to exit.");
    return 0;
}
