// Feeds arbitrary bytes, NUL-terminated as the emptiness test terminates its reply copy,
// through the reply reader.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "actions/progman_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    char* reply = (char*)malloc(size + 1);
    if (!reply)
        return 0;
    memcpy(reply, data, size);
    reply[size] = '\0';
    int empty = ProgmanReplyIsEmpty(reply);
    if (empty != 0 && empty != 1)
        __builtin_trap();
    // A reply with fewer than three commas has fewer than three fields.
    if (empty && !memchr(reply, ',', strlen(reply)))
        __builtin_trap();
    free(reply);
    return 0;
}
