// Texts of the file step that need no Windows: which paths name components, and the
// warning shown for a component that cannot be loaded.
#pragma once
#include <cstddef>

// The warning is composed in a buffer of this size.
enum { WARNING_TEXT_SIZE = 1024 };

// Non-zero when the path names a component: five characters or more, the last four
// ".dll" or ".ocx" in any ASCII letter case.
int IsComponentPath(const char* path);

// "RegisterActiveX(%s): LoadLibrary() failed (%d)" into buffer (size bytes, terminator
// included). A path too long for the buffer is cut, so that the error code still shows.
void FormatLoadWarning(char* buffer, size_t size, const char* path, int error);
