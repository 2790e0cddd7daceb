#include "sharemem.h"

namespace {
int initCount = 0;
}

extern "C" __attribute__((visibility("default"))) void smInitValues()
{
    ++initCount;
}

extern "C" __attribute__((visibility("default"))) int smInitCount()
{
    return initCount;
}
