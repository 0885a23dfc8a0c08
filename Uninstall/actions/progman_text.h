// The texts of the Program Manager conversation: the commands sent to the shell and the
// reply to a group request. Nothing here calls Windows, so the native build tests and fuzzes it.
#pragma once
#include <cstddef>

// The command buffer holds both commands of one routine, one after the other. Names longer
// than this allows get a buffer of the size they need (see ProgmanCommandBufferSize).
enum { PROGMAN_COMMAND_BUFFER_SIZE = 128 };

enum ProgmanCommand {
    PROGMAN_SHOW_GROUP,    // "[ShowGroup(%s,1)]", sent without its NUL
    PROGMAN_DELETE_ITEM,   // "[DeleteItem(%s)]", sent with its NUL
    PROGMAN_DELETE_GROUP,  // "[DeleteGroup(%s)]", sent with its NUL
};

// Bytes that the command text for `name` takes, its NUL included.
size_t ProgmanCommandSize(ProgmanCommand command, const char* name);

// The command buffer for two commands: 128 bytes, or more when a command needs more.
size_t ProgmanCommandBufferSize(ProgmanCommand first, const char* firstName, ProgmanCommand second,
                                const char* secondName);

// Formats the command into `buffer` and gives the byte count that the shell receives.
// A buffer smaller than ProgmanCommandSize gets a cut text and the count of what it holds.
size_t FormatProgmanCommand(char* buffer, size_t size, ProgmanCommand command, const char* name);

// Reads the shell's reply to a group request (a NUL-terminated text) and gives 1 when the
// group's item count, its third comma-separated field, reads as the number 0; otherwise 0.
// A first field in double quotes is one field whatever commas it holds; a count without
// digits is unreadable and so not 0.
int ProgmanReplyIsEmpty(const char* reply);
