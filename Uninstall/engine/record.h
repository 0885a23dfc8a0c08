// The uninstall record: how its bytes become lines, and what kind of entry a line is.
// Nothing here calls Windows, so the checker and the native tests share it.
#pragma once
#include <cstdio>

enum EntryKind {
    ENTRY_OTHER = -1,
    ENTRY_SHARED_DLL = 0,
    ENTRY_FILE = 1,
    ENTRY_REG_KEY = 2,
    ENTRY_DIRECTORY = 3,
    ENTRY_PROGMAN = 4,
    ENTRY_COMMAND = 5,
};

// Line buffers of the two readers: the window reads the header alone, the run reads everything.
enum { HEADER_BUFFER_SIZE = 260, LINE_BUFFER_SIZE = 1040 };

// File entry payload: two flag characters at 0 and 2, the path from 4 on.
enum { FILE_FLAG_FIRST = 0, FILE_FLAG_SECOND = 2, FILE_PATH_POSITION = 4 };

struct RecordFile {
    FILE* file;
    int ended;  // a Ctrl-Z was read: nothing after it is
};

// Opens the record for reading; non-zero when it opened.
int OpenRecord(RecordFile* record, const char* path);

// Reads one line, or one piece of a long line, the way a text-mode fgets does:
// at most size - 1 characters, the line feed included; CR LF reads as LF, a lone CR
// stays, Ctrl-Z ends the file. A NUL ends the line's text and the rest of the line,
// up to and including its line feed, is passed over. Non-zero when anything was read.
int ReadRecordLine(RecordFile* record, char* buffer, int size);

void CloseRecord(RecordFile* record);

// Reads the record's first line (at most size - 1 characters) without its line feed.
// An unreadable record or an empty first line gives an empty text.
void ReadRecordHeader(const char* path, char* buffer, int size);

// Gives the kind of an entry line by its first character. For every kind but ENTRY_OTHER
// it stores where the payload starts, or NULL when the line ends before the payload.
EntryKind ClassifyEntry(char* line, char** payload);

// Where a kind's payload starts, or -1 for ENTRY_OTHER.
int EntryPayloadPosition(EntryKind kind);
