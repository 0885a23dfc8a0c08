#include "shareddll.h"

int ReleaseSharedDll(const char*)
{
    return 1;
}
