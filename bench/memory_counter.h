// Counts the bytes held by operator new, so that a benchmark can report a run's peak memory.
#pragma once

#include <cstddef>

namespace bench {

void resetPeak();
std::size_t peakBytes();

}  // namespace bench
