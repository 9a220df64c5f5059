// Bounds on one thumbnailer run, so that no document can hang or swamp the desktop's
// thumbnailing: a time limit (wall clock and processor) and an address-space limit.
#pragma once

#include <cstddef>

inline constexpr int kRunOverLimitStatus = 3;

// From now on the process ends with kRunOverLimitStatus once `seconds` have passed, after
// calling undoPartialWork (from a signal handler: it must be async-signal-safe). Memory beyond
// `bytes` cannot be had: the allocation fails and the run ends as any failure does.
void ImposeRunLimits(unsigned seconds, size_t bytes, void (*undoPartialWork)());

// The kernel's bounds, for a process that handles no signal of its own and runs one request after
// another. Processor time: SIGXCPU ends it once it has used `seconds` more than it has used now;
// the hard limit stays as it is, so that the next request can have its own bound.
void LimitProcessorTimeFromNow(unsigned seconds);
// Address space: memory beyond `bytes` in all cannot be had (no bound under AddressSanitizer,
// which reserves terabytes for its own bookkeeping).
void LimitAddressSpace(size_t bytes);
