// Bounds on one thumbnailer run, so that no document can hang or swamp the desktop's
// thumbnailing: a time limit (wall clock and processor) and an address-space limit.
#pragma once

#include <cstddef>

inline constexpr int kRunOverLimitStatus = 3;

// From now on the process ends with kRunOverLimitStatus once `seconds` have passed, removing
// the file named with RemoveWhenOverLimit first. Memory beyond `bytes` cannot be had: the
// allocation fails and the run ends as any failure does.
void ImposeRunLimits(unsigned seconds, size_t bytes);

// The half-written file to remove when the time runs out (nullptr: none). The path is copied.
void RemoveWhenOverLimit(const char* path);
