#include "tools/bench/memory.h"

#include <QtGlobal> // the Q_OS_* macros below

#if defined(Q_OS_WIN)
#include <windows.h>
// windows.h first: psapi.h needs its types.
#include <psapi.h>
#elif defined(Q_OS_LINUX)
#include <QByteArray>
#include <QFile>
#elif defined(Q_OS_UNIX)
#include <sys/resource.h>
#endif

namespace bench {

namespace {

#if defined(Q_OS_WIN)
// Both readings come from the same counters; -1 where they cannot be had.
template <typename Field> qint64 counterKiB(Field field) {
    PROCESS_MEMORY_COUNTERS counters{};
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return -1;
    return static_cast<qint64>(counters.*field / 1024);
}
#elif defined(Q_OS_LINUX)
qint64 statusField(const QByteArray& name) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(name))
            return line.mid(name.size()).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}
#endif

} // namespace

qint64 residentKiB() {
#if defined(Q_OS_WIN)
    return counterKiB(&PROCESS_MEMORY_COUNTERS::WorkingSetSize);
#elif defined(Q_OS_LINUX)
    return statusField("VmRSS:");
#else
    return -1;
#endif
}

qint64 peakResidentKiB() {
#if defined(Q_OS_WIN)
    return counterKiB(&PROCESS_MEMORY_COUNTERS::PeakWorkingSetSize);
#elif defined(Q_OS_LINUX)
    return statusField("VmHWM:");
#elif defined(Q_OS_UNIX)
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0)
        return -1;
#if defined(Q_OS_MACOS)
    return static_cast<qint64>(usage.ru_maxrss / 1024); // bytes there
#else
    return static_cast<qint64>(usage.ru_maxrss);
#endif
#else
    return -1;
#endif
}

} // namespace bench
