#include "base/WideVectors.h"

#include <QByteArray>

bool WideVectors::inUse()
{
#ifdef OBR_WIDE_VECTORS
    static const bool wide = __builtin_cpu_supports("avx2") && qgetenv("OBR_VECTORS") != "base";
    return wide;
#else
    return false;
#endif
}
