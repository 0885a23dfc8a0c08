// Program Manager groups and items, over DDE.
#pragma once
#include <windows.h>
#include <ddeml.h>

extern DWORD g_ddeInstance;
extern CONVCONTEXT g_ddeConvContext;

// Removes the item of a "group@item" payload, and the group when the shell says it is empty.
void RemoveProgmanEntry(const char* payload);
int DeleteProgmanItem(const char* group, const char* item);
int IsProgmanGroupEmpty(const char* group);
int DeleteProgmanGroup(const char* group);
HDDEDATA CALLBACK ProgmanDdeCallback(UINT type, UINT format, HCONV conversation, HSZ topic,
                                     HSZ item, HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2);
