// Feeds arbitrary bytes through the record checker, which installer authors run on records
// of any origin: it must always give a report of printable lines and one of its codes.
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "check_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static char path[64];
    if (!path[0])
        snprintf(path, sizeof path, "/tmp/zelvo-fuzz-checker-%d", (int)getpid());
    FILE* file = fopen(path, "wb");
    if (!file)
        return 0;
    fwrite(data, 1, size, file);
    fclose(file);

    std::string report;
    int code = CheckRecord(path, &report);
    if (code != CHECK_CLEAN && code != CHECK_FLAGGED)
        __builtin_trap();
    // Control characters of the record are shown by name, never passed to the terminal.
    for (unsigned char c : report)
        if ((c < 0x20 && c != '\n') || c == 0x7F)
            __builtin_trap();
    return 0;
}
