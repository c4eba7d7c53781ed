#pragma once

#include <QElapsedTimer>
#include <algorithm>
#include <vector>

// The median of `samples` timings of `work`, in nanoseconds per call, each sample `repeat`
// calls long.
template <typename Work> double medianNs(int samples, int repeat, Work&& work) {
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(samples));
    for (int s = 0; s < samples; ++s) {
        QElapsedTimer timer;
        timer.start();
        for (int r = 0; r < repeat; ++r)
            work();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / repeat);
    }
    std::nth_element(times.begin(), times.begin() + samples / 2, times.end());
    return times[static_cast<std::size_t>(samples / 2)];
}
