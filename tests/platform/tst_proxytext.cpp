// The proxy text "host:port" from the options, as the transfer reads it: what cannot be used
// gives nothing, so the transfer fails instead of quietly connecting somewhere else.
#include "platform/core/proxytext.h"

#include <QTest>

class TestProxyText : public QObject {
    Q_OBJECT
private slots:
    void splitProxy_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("host"); // empty: unusable
        QTest::addColumn<int>("port");
        const auto row = [](const char* name, const char* text, const char* host = "",
                            int port = 0) {
            QTest::newRow(name) << QString::fromLatin1(text) << QString::fromLatin1(host) << port;
        };
        row("host and port", "proxy.local:3128", "proxy.local", 3128);
        row("highest port", "10.0.0.1:65535", "10.0.0.1", 65535);
        row("bracketed IPv6", "[::1]:8080", "::1", 8080);
        row("bare IPv6, port after the last colon", "fe80::1:3128", "fe80::1", 3128);
        row("port over 65535", "proxy.local:70000");
        row("port 0", "proxy.local:0");
        row("negative port", "proxy.local:-1");
        row("no host", ":3128");
        row("no port", "proxy.local:");
        row("no colon", "proxy.local");
    }
    void splitProxy() {
        QFETCH(QString, text);
        QFETCH(QString, host);
        QFETCH(int, port);
        const auto target = platform::splitProxy(text);
        QCOMPARE(target.has_value(), !host.isEmpty());
        if (target) {
            QCOMPARE(target->host, host);
            QCOMPARE(int(target->port), port);
        }
    }
};

QTEST_APPLESS_MAIN(TestProxyText)
#include "tst_proxytext.moc"
