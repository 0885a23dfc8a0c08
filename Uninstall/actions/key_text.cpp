#include "key_text.h"

#include <cstdio>
#include <cstring>

const char SHARED_DLLS_KEY_PATH[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs\\";

const char* const ROOT_KEY_NAMES[ROOT_KEY_COUNT] = {
    "HKEY_CURRENT_USER",
    "HKEY_CLASSES_ROOT",
    "HKEY_LOCAL_MACHINE",
    "HKEY_USERS",
};

static int FindRootKey(const char* name, size_t length)
{
    for (int i = 0; i < ROOT_KEY_COUNT; ++i)
        if (strlen(ROOT_KEY_NAMES[i]) == length && memcmp(ROOT_KEY_NAMES[i], name, length) == 0)
            return i;
    return -1;
}

int SplitKeyText(const char* text, KeyTextParts* parts)
{
    const char* name = text + strspn(text, " \n");
    size_t nameLength = strcspn(name, " \n");
    parts->root = FindRootKey(name, nameLength);
    if (parts->root < 0 || name[nameLength] == '\0')
        return 0;

    const char* path = name + nameLength + 1;
    path += strspn(path, "\n");
    size_t pathLength = strcspn(path, "\n");
    // A longer path is refused, not cut: a cut path can name another parent than the
    // record does, and the key deleted below it would be an unrelated one.
    if (pathLength == 0 || pathLength >= KEY_PATH_SIZE)
        return 0;
    memcpy(parts->parent, path, pathLength);
    parts->parent[pathLength] = '\0';

    char* lastBackslash = strrchr(parts->parent, '\\');
    if (!lastBackslash)
        return 0;
    strcpy(parts->subkey, lastBackslash + 1);
    lastBackslash[1] = '\0';
    return 1;
}

int FormatSharedKeyText(char* buffer, size_t size, const char* path)
{
    int length = snprintf(buffer, size, "HKEY_LOCAL_MACHINE %s%s", SHARED_DLLS_KEY_PATH, path);
    return length >= 0 && (size_t)length < size;
}
