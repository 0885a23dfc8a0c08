// zelvo_check: shows what an uninstall record will make the uninstaller do, in the order it
// does it, and flags the entries that will do nothing or not what their author meant.
#include <cstdio>
#include <cstring>
#include <string>

#include "check_text.h"

int main(int argc, char** argv)
{
    if (argc > 2 || (argc == 2 && (argv[1][0] == '-' || strcmp(argv[1], "/?") == 0))) {
        fputs("usage: zelvo_check [RECORD]   (default .UnInst.inf)\n"
              "Lists the record's entries in the order the uninstall carries them out and flags\n"
              "those that will do nothing or probably not what was meant. Exit code: 0 nothing\n"
              "flagged, 1 something flagged, 2 the record cannot be opened.\n",
              stderr);
        return CHECK_UNREADABLE;
    }
    const char* path = argc == 2 ? argv[1] : ".UnInst.inf";
    std::string report;
    int result = CheckRecord(path, &report);
    fputs(report.c_str(), result == CHECK_UNREADABLE ? stderr : stdout);
    return result;
}
