#include "regkey.h"

#include <windows.h>

#include "key_text.h"

int DeleteRegistryKey(const char* text)
{
    // In the order of ROOT_KEY_NAMES.
    static const HKEY roots[ROOT_KEY_COUNT] = {HKEY_CURRENT_USER, HKEY_CLASSES_ROOT, HKEY_LOCAL_MACHINE, HKEY_USERS};
    KeyTextParts parts;
    if (!SplitKeyText(text, &parts))
        return 0;
    HKEY parent;
    if (RegOpenKeyExA(roots[parts.root], parts.parent, 0, KEY_WRITE, &parent) == ERROR_SUCCESS) {
        RegDeleteKeyA(parent, parts.subkey);
        RegCloseKey(parent);
    }
    return 0;
}
