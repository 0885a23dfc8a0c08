#include "files.h"

#include <windows.h>

int DeleteFileAndUnregister(const char* path)
{
    return DeleteFileA(path);
}

int RegisterActiveX(const char*)
{
    return 0;
}
