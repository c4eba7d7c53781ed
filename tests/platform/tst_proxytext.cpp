// The proxy text "host:port" as the options make it and as a person may type its host: what
// names a proxy, and what must give none (so the transfer fails instead of going direct).
#include "platform/core/proxytext.h"

#include <QTest>

using platform::splitProxy;

class TestProxyText : public QObject {
    Q_OBJECT
private slots:
    void usableProxies_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::newRow("name") << "proxy.local:8080"
                              << "proxy.local" << 8080;
        QTest::newRow("IPv4") << "127.0.0.1:3128"
                              << "127.0.0.1" << 3128;
        QTest::newRow("bracketed IPv6") << "[::1]:3128"
                                        << "::1" << 3128;
        QTest::newRow("bracketed IPv6 in full") << "[2001:db8::7]:80"
                                                << "2001:db8::7" << 80;
        // Without brackets the last colon still ends the host, so the port is read right.
        QTest::newRow("bare IPv6") << "2001:db8::7:8080"
                                   << "2001:db8::7" << 8080;
        QTest::newRow("lowest port") << "p:1"
                                     << "p" << 1;
        QTest::newRow("highest port") << "p:65535"
                                      << "p" << 65535;
        QTest::newRow("leading zeros") << "p:00080"
                                       << "p" << 80;
        QTest::newRow("Cyrillic host") << "прокси.бг:8080"
                                       << "прокси.бг" << 8080;
    }
    void usableProxies() {
        QFETCH(QString, text);
        const auto target = splitProxy(text);
        QVERIFY(target.has_value());
        QTEST(target->host, "host");
        QTEST(int{target->port}, "port");
    }

    void unusableProxies_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("no port") << "proxy.local";
        QTest::newRow("empty port") << "proxy.local:";
        QTest::newRow("empty host") << ":8080";
        QTest::newRow("empty brackets") << "[]:8080";
        QTest::newRow("port 0") << "p:0";
        QTest::newRow("port over 65535") << "p:65536";
        QTest::newRow("port far over, 5 digits") << "p:99999";
        QTest::newRow("six digits that read as 80") << "p:000080";
        QTest::newRow("negative port") << "p:-1";
        QTest::newRow("signed port") << "p:+80";
        QTest::newRow("blank before the port") << "p: 80";
        QTest::newRow("blank after the port") << "p:80 ";
        QTest::newRow("hexadecimal port") << "p:0x50";
        QTest::newRow("port of other digits") << "p:\u0668\u0660";
        QTest::newRow("bracketed IPv6 without a port") << "[::1]";
    }
    void unusableProxies() {
        QFETCH(QString, text);
        const auto target = splitProxy(text);
        QVERIFY2(!target.has_value(),
                 qPrintable(target ? target->host + u'|' + QString::number(target->port) : text));
    }
};

QTEST_APPLESS_MAIN(TestProxyText)
#include "tst_proxytext.moc"
