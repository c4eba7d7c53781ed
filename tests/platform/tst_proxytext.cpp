// The proxy text "host:port" as the options make it and as a person may type its host: what
// names a proxy, and what must give none (so the transfer fails instead of going direct).
#include "platform/core/proxytext.h"

#include <QTest>

class TestProxyText : public QObject {
    Q_OBJECT
private slots:
    void splitProxy_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("target"); // "host|port", or empty for none
        const auto row = [](const char* text, const char* target = "") {
            QTest::newRow(*text != 0 ? text : "empty")
                << QString::fromUtf8(text) << QString::fromUtf8(target);
        };
        row("proxy.local:8080", "proxy.local|8080");
        row("127.0.0.1:3128", "127.0.0.1|3128");
        row("[::1]:3128", "::1|3128");
        row("[2001:db8::7]:80", "2001:db8::7|80");
        row("2001:db8::7:8080", "2001:db8::7|8080"); // the last colon ends a bare IPv6 host
        row("p:1", "p|1");
        row("p:65535", "p|65535");
        row("p:00080", "p|80");
        row("прокси.бг:8080", "прокси.бг|8080");
        for (const char* none :
             {"", "proxy.local", "proxy.local:", ":8080", "[]:8080", "p:0", "p:65536", "p:99999",
              "p:000080", "p:-1", "p:+80", "p: 80", "p:80 ", "p:0x50", "p:\u0668\u0660", "[::1]"})
            row(none);
    }
    void splitProxy() {
        QFETCH(QString, text);
        const auto target = platform::splitProxy(text);
        QTEST(target ? target->host + u'|' + QString::number(target->port) : QString(), "target");
    }
};

QTEST_APPLESS_MAIN(TestProxyText)
#include "tst_proxytext.moc"
