#include "regkey.h"

int DeleteRegistryKey(const char*)
{
    return 0;
}
