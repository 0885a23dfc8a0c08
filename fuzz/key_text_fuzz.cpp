// Splits arbitrary text as a key entry text and composes the shared-file text from it.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "actions/key_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // An exact-size copy, so that a read past the text's end is caught.
    char* text = (char*)malloc(size + 1);
    memcpy(text, data, size);
    text[size] = '\0';

    KeyTextParts parts;
    if (SplitKeyText(text, &parts)) {
        size_t parentLength = strlen(parts.parent);
        // A named key has a parent ending in its backslash, a subkey without one, and
        // together they are a piece of the text no longer than the buffer allows.
        if (parts.root < 0 || parts.root >= ROOT_KEY_COUNT || parentLength == 0 ||
            parts.parent[parentLength - 1] != '\\' || strchr(parts.subkey, '\\') ||
            parentLength + strlen(parts.subkey) >= KEY_PATH_SIZE || !strstr(text, parts.parent))
            __builtin_trap();
    }

    char* shared = (char*)malloc(SHARED_KEY_TEXT_SIZE);
    int whole = FormatSharedKeyText(shared, SHARED_KEY_TEXT_SIZE, text);
    if (strlen(shared) >= SHARED_KEY_TEXT_SIZE || (whole != 0) != (strlen(text) <= SHARED_KEY_TEXT_SIZE - 73))
        __builtin_trap();
    free(shared);
    free(text);
    return 0;
}
