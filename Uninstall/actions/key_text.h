// Key entry texts, read and composed without Windows: a root key name, a blank and a
// key path, such as "HKEY_LOCAL_MACHINE Software\Example\Tool".
#pragma once
#include <cstddef>

enum {
    KEY_PATH_SIZE = 260,         // key path buffer: at most 259 characters
    SHARED_KEY_TEXT_SIZE = 780,  // the key entry text made for a removed shared file
};

// Where the shared files' reference counts live, below HKEY_LOCAL_MACHINE.
extern const char SHARED_DLLS_KEY_PATH[];

// The root key names, in the order they are tested; KeyTextParts::root indexes them.
enum { ROOT_KEY_COUNT = 4 };
extern const char* const ROOT_KEY_NAMES[ROOT_KEY_COUNT];

struct KeyTextParts {
    int root;                    // index into ROOT_KEY_NAMES
    char parent[KEY_PATH_SIZE];  // the key path up to and including its last backslash
    char subkey[KEY_PATH_SIZE];  // the key path after that backslash (may be empty)
};

// Reads a key entry text: leading blanks and line feeds are skipped, the root key name
// runs to the next blank or line feed, the key path follows that one character (its
// leading line feeds skipped, its blanks kept) up to a line feed or the end. Non-zero
// only when the text names a key: a root key name of the table, compared byte for byte,
// and a key path of 1 to KEY_PATH_SIZE - 1 characters holding a backslash.
int SplitKeyText(const char* text, KeyTextParts* parts);

// The key entry text for a shared file: "HKEY_LOCAL_MACHINE " + SHARED_DLLS_KEY_PATH + path.
// Non-zero when it fit whole in buffer; a longer text is cut to size - 1 characters.
int FormatSharedKeyText(char* buffer, size_t size, const char* path);
