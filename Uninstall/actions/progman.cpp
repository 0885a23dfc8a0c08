#include "progman.h"

DWORD g_ddeInstance = 0;
CONVCONTEXT g_ddeConvContext = {sizeof(CONVCONTEXT), 0, 0, 0, 0, 0, {}};

void RemoveProgmanEntry(const char*)
{
}

int DeleteProgmanItem(const char*, const char*)
{
    return 0;
}

int IsProgmanGroupEmpty(const char*)
{
    return 0;
}

int DeleteProgmanGroup(const char*)
{
    return 0;
}

HDDEDATA CALLBACK ProgmanDdeCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR)
{
    return 0;
}
