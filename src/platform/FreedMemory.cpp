#include "FreedMemory.h"

#include <QThreadPool>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void FreedMemory::giveBack() {
    // Qt's raster painting splits a large fill across the global thread pool, whose threads then
    // idle for half a minute, each with its stack and allocator arena. Painting is synchronous,
    // so none has work left by now.
    QThreadPool::globalInstance()->waitForDone();
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}
