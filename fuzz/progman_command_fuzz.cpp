// Formats every command for an arbitrary name into the buffer the routines would obtain,
// and into buffers that are too small, checking the byte counts against the text.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "actions/progman_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string name((const char*)data, size);
    name = name.c_str();  // a record name ends at its first NUL
    const ProgmanCommand commands[] = {PROGMAN_SHOW_GROUP, PROGMAN_DELETE_ITEM, PROGMAN_DELETE_GROUP};
    for (ProgmanCommand command : commands) {
        size_t bufferSize = ProgmanCommandBufferSize(command, name.c_str(), PROGMAN_SHOW_GROUP, "");
        if (bufferSize < ProgmanCommandSize(command, name.c_str()) || bufferSize < PROGMAN_COMMAND_BUFFER_SIZE)
            __builtin_trap();
        char* buffer = (char*)malloc(bufferSize);
        size_t count = FormatProgmanCommand(buffer, bufferSize, command, name.c_str());
        size_t length = strlen(buffer);
        if (length + 1 != ProgmanCommandSize(command, name.c_str()) || !strstr(buffer, name.c_str()))
            __builtin_trap();
        if (count != (command == PROGMAN_SHOW_GROUP ? length : length + 1))
            __builtin_trap();
        free(buffer);

        // Too small a buffer: cut, terminated, never written past.
        size_t small = size % 32;
        char* cut = (char*)malloc(small ? small : 1);
        count = FormatProgmanCommand(cut, small, command, name.c_str());
        if (count > small || (small && strlen(cut) >= small))
            __builtin_trap();
        free(cut);
    }
    return 0;
}
