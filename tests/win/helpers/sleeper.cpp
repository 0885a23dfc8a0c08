// A command for test records: sleeps, then optionally creates a file.
//   zelvo_sleep MILLISECONDS [FILE]
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    Sleep(argc > 1 ? (DWORD)atoi(argv[1]) : 0);
    if (argc > 2) {
        FILE* file = fopen(argv[2], "wb");
        if (file)
            fclose(file);
    }
    return 0;
}
