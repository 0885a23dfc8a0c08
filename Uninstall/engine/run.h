// The uninstall run: reads the record and undoes its entries, last line first.
#pragma once

struct EntryNode {
    char* text;       // one entry line (or piece of a long line), without its line feed
    EntryNode* next;  // the line read just before this one
};

extern const char* g_recordPath;
extern EntryNode* g_entryList;

// Shaped like a program's main: element 0 is never examined; "/..." arguments are
// reported, any other one names the record. 0 when the run went through, -1 when
// the record could not be opened.
int RunUninstall(int argc, char** argv);
