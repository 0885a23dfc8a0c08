#include "shareddll.h"

#include <windows.h>

#include <cstdlib>

#include "files.h"
#include "key_text.h"
#include "regkey.h"

int ReleaseSharedDll(const char* path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, SHARED_DLLS_KEY_PATH, 0, KEY_QUERY_VALUE | KEY_WRITE, &key) != ERROR_SUCCESS)
        return 0;

    // Whatever the value's type, data of up to 4 bytes are the count.
    DWORD type;
    DWORD count = 0;
    DWORD size = sizeof count;
    if (RegQueryValueExA(key, path, NULL, &type, (BYTE*)&count, &size) != ERROR_SUCCESS || count == 0) {
        RegCloseKey(key);
        return 1;
    }

    --count;
    if (count > 0 || !DeleteFileAndUnregister(path)) {
        RegSetValueExA(key, path, 0, REG_DWORD, (const BYTE*)&count, size);
        RegCloseKey(key);
        return 1;
    }

    // The file is gone: a count left behind would tell other installers it is still in use.
    RegDeleteValueA(key, path);
    char* text = (char*)malloc(SHARED_KEY_TEXT_SIZE);
    // A cut text would name no key of this file; it is not handed on.
    int whole = text && FormatSharedKeyText(text, SHARED_KEY_TEXT_SIZE, path);
    RegCloseKey(key);
    if (whole)
        DeleteRegistryKey(text);
    free(text);
    return 1;
}
