#include "FreedMemory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void FreedMemory::giveBack() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}
