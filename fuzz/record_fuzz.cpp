// Feeds arbitrary bytes through the record reader and classifies every piece.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "engine/record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static char path[64];
    if (!path[0])
        snprintf(path, sizeof path, "/tmp/zelvo-fuzz-record-%d", (int)getpid());
    FILE* file = fopen(path, "wb");
    if (!file)
        return 0;
    fwrite(data, 1, size, file);
    fclose(file);

    RecordFile record;
    if (!OpenRecord(&record, path))
        return 0;
    char line[LINE_BUFFER_SIZE];
    int pieces = 0;
    while (ReadRecordLine(&record, line, sizeof line)) {
        if (strlen(line) >= sizeof line)
            __builtin_trap();
        // Classify an exact-size copy, so that a read past the line's end is caught.
        char* copy = strdup(line);
        char* payload = nullptr;
        EntryKind kind = ClassifyEntry(copy, &payload);
        if (kind != ENTRY_OTHER && payload && payload != copy + EntryPayloadPosition(kind))
            __builtin_trap();
        free(copy);
        ++pieces;
    }
    CloseRecord(&record);
    char header[HEADER_BUFFER_SIZE];
    ReadRecordHeader(path, header, sizeof header);
    return 0;
}
