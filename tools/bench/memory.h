#pragma once

#include <QtGlobal>

namespace bench {

// The process's memory as the system counts it, in KiB, or -1 where it cannot be read.
// For the soak test and the benchmarks; the program itself never reads it.
qint64 residentKiB();
qint64 peakResidentKiB();

} // namespace bench
