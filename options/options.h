#pragma once

#include <QString>

namespace options {

// The four options, kept for the whole run. The flags hold check-box states: 0 clear,
// 1 ticked, 2 greyed; a hand-edited file may put any byte there.
struct Options {
    quint8 refreshOnStart = 0;
    quint8 useProxy = 0;
    QString proxyHost;
    qint16 proxyPort = 8080;

    friend bool operator==(const Options&, const Options&) = default;
};

} // namespace options
