#include "file_text.h"

#include <cstdio>
#include <cstring>

static char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c;
}

// Compares the last four characters with a lower-case suffix, ignoring ASCII case only:
// bytes of the ANSI code page above 127 are never folded.
static int EndsWith(const char* end, const char* suffix)
{
    for (int i = 0; i < 4; ++i)
        if (AsciiLower(end[i]) != suffix[i])
            return 0;
    return 1;
}

int IsComponentPath(const char* path)
{
    size_t length = strlen(path);
    if (length <= 4)
        return 0;
    const char* end = path + length - 4;
    return EndsWith(end, ".dll") || EndsWith(end, ".ocx");
}

void FormatLoadWarning(char* buffer, size_t size, const char* path, int error)
{
    if (size == 0)
        return;
    // The fixed words and the code are kept whole; the path gets what room is left.
    int fixed = snprintf(NULL, 0, "RegisterActiveX(): LoadLibrary() failed (%d)", error);
    size_t room = size - 1 > (size_t)fixed ? size - 1 - (size_t)fixed : 0;
    size_t length = strlen(path);
    int shown = (int)(length < room ? length : room);
    snprintf(buffer, size, "RegisterActiveX(%.*s): LoadLibrary() failed (%d)", shown, path, error);
}
