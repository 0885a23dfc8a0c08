// Tests arbitrary paths as components and composes their warning, with the error code
// taken from the first four bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "actions/file_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    int error = 0;
    if (size >= sizeof error) {
        memcpy(&error, data, sizeof error);
        data += sizeof error;
        size -= sizeof error;
    }
    char* path = (char*)malloc(size + 1);
    memcpy(path, data, size);
    path[size] = '\0';

    int component = IsComponentPath(path);
    size_t length = strlen(path);
    if (component && (length < 5 || path[length - 4] != '.'))
        __builtin_trap();

    char* text = (char*)malloc(WARNING_TEXT_SIZE);
    FormatLoadWarning(text, WARNING_TEXT_SIZE, path, error);
    // The text always ends with the code, however long the path.
    if (strlen(text) >= WARNING_TEXT_SIZE || !strstr(text, "): LoadLibrary() failed ("))
        __builtin_trap();
    free(text);
    free(path);
    return 0;
}
