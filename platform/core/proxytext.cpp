#include "platform/core/proxytext.h"

namespace platform {

std::optional<HostPort> splitProxy(const QString& text) {
    const qsizetype colon = text.lastIndexOf(u':');
    if (colon < 0)
        return std::nullopt;
    QString host = text.left(colon);
    if (host.size() >= 2 && host.startsWith(u'[') && host.endsWith(u']'))
        host = host.mid(1, host.size() - 2);
    const QString portText = text.mid(colon + 1);
    bool digitsOnly = !portText.isEmpty() && portText.size() <= 5;
    for (const QChar c : portText)
        digitsOnly = digitsOnly && c >= u'0' && c <= u'9';
    if (host.isEmpty() || !digitsOnly)
        return std::nullopt;
    const int port = portText.toInt();
    if (port < 1 || port > 65535)
        return std::nullopt;
    return HostPort{host, static_cast<quint16>(port)};
}

} // namespace platform
