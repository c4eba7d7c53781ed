#pragma once

#include <QString>
#include <optional>

namespace platform {

struct HostPort {
    QString host;
    quint16 port = 0;
};

// Reads a proxy text "host:port" (the host may be a bracketed IPv6 address). An empty host or a
// port outside 1..65535 gives nothing: such a proxy cannot be used, and the caller must fail
// rather than quietly connect directly.
std::optional<HostPort> splitProxy(const QString& text);

} // namespace platform
