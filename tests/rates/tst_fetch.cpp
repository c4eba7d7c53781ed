// What the transfer sends, directly and through a proxy, to a sample server on 127.0.0.1, and
// the proxy text "host:port" as the options make it and as a person may type its host: what
// names a proxy, and what must give none (so the transfer fails instead of going direct).
// How each failure looks to a person (a status outside 2xx among them) is in tst_faults.
#include "platform/core/inet.h"
#include "platform/core/proxytext.h"
#include "rates/address.h"
#include "rates/downfile.h"
#include "scratch.h"
#include "tools/sampleserver/sampleserver.h"

#include <QSslConfiguration>
#include <QSslKey>
#include <QTest>

using platform::Inet;
using sampleserver::SampleServer;

namespace {

const QByteArray OriginLine = "GET /zvt/rates.nsf/vWebRatesByMonthBG/$First HTTP/1.1";

std::unique_ptr<SampleServer> serve(sampleserver::Fault fault = sampleserver::Fault::None,
                                    int delayMs = 0) {
    auto server = std::make_unique<SampleServer>(
        sampleserver::Config{samplePage(), "text/html; charset=windows-1251", fault});
    server->config().delayMs = delayMs;
    if (!server->listen())
        qFatal("cannot listen on 127.0.0.1");
    return server;
}

// A certificate or key made for the tests (tests/tls/mktestcerts.sh).
QByteArray testTls(const QString& name) {
    QFile file(qEnvironmentVariable("KURSOVE_TLS_DIR") + u'/' + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("test certificate not found: set KURSOVE_TLS_DIR");
    return file.readAll();
}

QString origin(const SampleServer& server) {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(server.port()).arg(rates::RatePath);
}

} // namespace

class TestFetch : public QObject {
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

    // Through the proxy the request names the whole address; switched back to direct, the
    // same transfer goes to the origin, never through the environment's proxy. The server
    // answers after 1.5 s: a slow site is waited for up to the time-out, a minute.
    void proxyGetsTheAbsoluteAddressAndDirectComesBack() {
        const auto proxy = serve(sampleserver::Fault::None, 1500);
        qputenv("http_proxy", "http://127.0.0.1:9/");
        Inet inet(QString::fromLatin1(rates::RateAddress));
        inet.setAccessType(Inet::Access::NamedProxy);
        inet.setProxy(QStringLiteral("127.0.0.1:%1").arg(proxy->port()));
        QString pagetext;
        QCOMPARE(rates::downfile(inet, pagetext), Inet::Outcome::Ok);
        inet.setAccessType(Inet::Access::Direct); // the proxy text stays, unused
        inet.setURL(origin(*proxy));
        QCOMPARE(rates::downfile(inet, pagetext), Inet::Outcome::Ok);
        qunsetenv("http_proxy");
        QCOMPARE(
            proxy->requestLines(),
            QByteArrayList({"GET " + QByteArray(rates::RateAddress) + " HTTP/1.1", OriginLine}));
        QVERIFY(pagetext.contains(QStringLiteral("Щатски долар")));
    }

    // A proxy text that names no proxy (here, no host) fails the transfer, with the earlier
    // page's text gone: never a quiet direct connection.
    void unusableProxyFailsWithoutConnecting() {
        const auto server = serve();
        Inet inet(origin(*server));
        inet.setAccessType(Inet::Access::NamedProxy);
        inet.setProxy(QStringLiteral(":%1").arg(server->port()));
        QString pagetext = QStringLiteral("earlier page");
        QCOMPARE(rates::downfile(inet, pagetext), Inet::Outcome::Failed);
        QVERIFY(pagetext.isEmpty());
        QVERIFY(server->requestLines().isEmpty());
    }

    // The site answers plain HTTP with a redirect to the same path over HTTPS, directly and
    // through the proxy (a CONNECT tunnel). Only this process trusts the test CA.
    void httpsAfterARedirect_data() {
        QTest::addColumn<bool>("throughProxy");
        QTest::newRow("direct") << false;
        QTest::newRow("through the proxy") << true;
    }
    void httpsAfterARedirect() {
        QFETCH(bool, throughProxy);
        QSslConfiguration trusting = QSslConfiguration::defaultConfiguration();
        trusting.addCaCertificates(QSslCertificate::fromData(testTls(QStringLiteral("ca.crt"))));
        QSslConfiguration::setDefaultConfiguration(trusting);
        // Schannel under Wine can serve no certificate of its own (nor trust a CA added just
        // above): there ./dev windows runs the Linux sample server with the certificate, trusts
        // the test CA in its own Wine prefix, and names the servers' plain ports here.
        const QByteArray external = qgetenv("KURSOVE_HTTPS_LOCALHOST");
        std::unique_ptr<SampleServer> server;
        quint16 port = external.toUShort();
        if (external.isEmpty()) {
#ifdef Q_OS_WIN
            QSKIP("no TLS sample servers named (./dev windows starts them)");
#endif
            server = serve(sampleserver::Fault::RedirectToTls);
            QVERIFY(
                server->listenTls(QSslCertificate(testTls(QStringLiteral("localhost.crt"))),
                                  QSslKey(testTls(QStringLiteral("localhost.key")), QSsl::Rsa)));
            port = server->port();
        }

        Inet inet(QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(rates::RatePath));
        if (throughProxy) {
            inet.setAccessType(Inet::Access::NamedProxy);
            inet.setProxy(QStringLiteral("127.0.0.1:%1").arg(port));
        }
        QString pagetext;
        QCOMPARE(rates::downfile(inet, pagetext), Inet::Outcome::Ok);
        QVERIFY(pagetext.contains(QStringLiteral("Щатски долар")));
        if (server) {
            const QByteArray tunnel = "CONNECT 127.0.0.1:" + QByteArray::number(server->tlsPort());
            QVERIFY(server->requestLines().constFirst().startsWith("GET "));
            QCOMPARE(server->requestLines().size() > 1 &&
                         server->requestLines().at(1).startsWith(tunnel),
                     throughProxy);
        }
    }
};

QTEST_GUILESS_MAIN(TestFetch)
#include "tst_fetch.moc"
