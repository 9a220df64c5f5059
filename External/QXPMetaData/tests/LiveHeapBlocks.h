// Heap blocks made with operator new and not yet deleted, in the whole test process. The library
// allocates its objects with operator new and finds it here at run time, so a test can see that
// an extraction leaves nothing behind once its holders are gone.
#pragma once

#include <cstdint>

namespace qxptest {

int64_t LiveHeapBlocks();

}  // namespace qxptest
