#pragma once

#include <QtGlobal>

namespace platform {

// The process's memory as the system counts it, in KiB, or -1 where it cannot be read.
// Used by the soak test and the benchmarks, never by the program itself.
qint64 residentKiB();
qint64 peakResidentKiB();

} // namespace platform
