#include "platform/heap.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace velquior::platform {

void TuneHeapForOneLargeTree() {
#ifdef __GLIBC__
  // Measured a fifth faster on a school of 4.5 MB.
  mallopt(M_TOP_PAD, 64 << 20);
  mallopt(M_TRIM_THRESHOLD, 512 << 20);
  mallopt(M_MMAP_THRESHOLD, 256 << 20);
#endif
}

}  // namespace velquior::platform
