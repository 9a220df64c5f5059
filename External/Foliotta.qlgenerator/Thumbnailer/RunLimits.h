// Bounds on one thumbnailer run, so that no document can hang or swamp the desktop's
// thumbnailing: a time limit (wall clock and processor) and an address-space limit.
#pragma once

#include <cstddef>

inline constexpr int kRunOverLimitStatus = 3;

// From now on the process ends with kRunOverLimitStatus once `seconds` have passed, after
// calling undoPartialWork (from a signal handler: it must be async-signal-safe). Memory beyond
// `bytes` cannot be had: the allocation fails and the run ends as any failure does.
void ImposeRunLimits(unsigned seconds, size_t bytes, void (*undoPartialWork)());

// The bounds of ImposeRunLimits that the kernel keeps, for a process that handles no signal of
// its own: processor time (SIGXCPU at `seconds`, killed two seconds later) and, unless bytes is
// 0, address space.
void LimitProcessorTimeAndAddressSpace(unsigned seconds, size_t bytes);
