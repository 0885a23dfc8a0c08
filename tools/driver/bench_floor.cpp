// The floor of the benchmark: the same deletions in a bare loop of DeleteFileA.
//   zelvo_delete_floor FOLDER COUNT   (deletes FOLDER\f<N>.dat for N < COUNT)
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    int count = atoi(argv[2]);
    LARGE_INTEGER frequency, started, ended;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&started);
    int deleted = 0;
    char path[MAX_PATH];
    for (int i = 0; i < count; ++i) {
        snprintf(path, sizeof path, "%s\\f%d.dat", argv[1], i);
        deleted += DeleteFileA(path) ? 1 : 0;
    }
    QueryPerformanceCounter(&ended);
    printf("deleted: %d\nseconds: %.3f\n", deleted, double(ended.QuadPart - started.QuadPart) / double(frequency.QuadPart));
    return deleted == count ? 0 : 1;
}
