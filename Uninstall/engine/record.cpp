#include "record.h"

#include <cstring>

static const char CTRL_Z = 0x1A;

int OpenRecord(RecordFile* record, const char* path)
{
    // Binary reads: the text-mode rules are applied below, the same on every build.
    record->file = fopen(path, "rb");
    record->ended = 0;
    return record->file != NULL;
}

void CloseRecord(RecordFile* record)
{
    if (record->file)
        fclose(record->file);
    record->file = NULL;
}

// One character as text mode reads it, or EOF.
static int ReadRecordChar(RecordFile* record)
{
    if (record->ended)
        return EOF;
    int c = getc(record->file);
    if (c == CTRL_Z || c == EOF) {
        record->ended = 1;
        return EOF;
    }
    if (c == '\r') {
        int next = getc(record->file);
        if (next == '\n')
            return '\n';
        if (next != EOF)
            ungetc(next, record->file);
    }
    return c;
}

int ReadRecordLine(RecordFile* record, char* buffer, int size)
{
    int length = 0;
    int anything = 0;
    while (length < size - 1) {
        int c = ReadRecordChar(record);
        if (c == EOF)
            break;
        anything = 1;
        if (c == '\0') {
            while (c != EOF && c != '\n')
                c = ReadRecordChar(record);
            break;
        }
        buffer[length++] = (char)c;
        if (c == '\n')
            break;
    }
    if (size > 0)
        buffer[length] = '\0';
    return anything;
}

void ReadRecordHeader(const char* path, char* buffer, int size)
{
    buffer[0] = '\0';
    RecordFile record;
    if (!OpenRecord(&record, path))
        return;
    ReadRecordLine(&record, buffer, size);
    CloseRecord(&record);
    char* lineFeed = strchr(buffer, '\n');
    if (lineFeed)
        *lineFeed = '\0';
}

static const struct {
    char letter;
    EntryKind kind;
    int payloadPosition;
} g_entryKinds[] = {
    {'i', ENTRY_SHARED_DLL, 4},
    {'f', ENTRY_FILE, 5},
    {'k', ENTRY_REG_KEY, 4},
    {'d', ENTRY_DIRECTORY, 4},
    {'p', ENTRY_PROGMAN, 6},
    {'c', ENTRY_COMMAND, 4},
};

int EntryPayloadPosition(EntryKind kind)
{
    for (const auto& entry : g_entryKinds)
        if (entry.kind == kind)
            return entry.payloadPosition;
    return -1;
}

EntryKind ClassifyEntry(char* line, char** payload)
{
    for (const auto& entry : g_entryKinds) {
        if (line[0] != entry.letter)
            continue;
        // The filler is never examined, but it must be there: never look past the line's end.
        int length = 1;
        while (length < entry.payloadPosition && line[length] != '\0')
            ++length;
        *payload = length == entry.payloadPosition ? line + length : NULL;
        return entry.kind;
    }
    return ENTRY_OTHER;
}
