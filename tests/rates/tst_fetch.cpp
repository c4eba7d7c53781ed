// What the transfer sends, directly and through a proxy, to a sample server on 127.0.0.1.
// How each failure looks to a person (a status outside 2xx among them) is in tst_faults.
#include "platform/core/inet.h"
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

    void unusableProxyFailsWithoutConnecting_data() {
        QTest::addColumn<QString>("proxyText");
        for (const char* text :
             {":%1", "127.0.0.1:0", "127.0.0.1:-1", "127.0.0.1:70000", "127.0.0.1"})
            QTest::newRow(text) << QString::fromLatin1(text);
    }
    void unusableProxyFailsWithoutConnecting() {
        QFETCH(QString, proxyText);
        const auto server = serve();
        Inet inet(origin(*server));
        inet.setAccessType(Inet::Access::NamedProxy);
        inet.setProxy(proxyText.contains(u'%') ? proxyText.arg(server->port()) : proxyText);
        QString pagetext = QStringLiteral("earlier page");
        QCOMPARE(rates::downfile(inet, pagetext), Inet::Outcome::Failed);
        QVERIFY(pagetext.isEmpty());
        QVERIFY(server->requestLines().isEmpty()); // never a quiet direct connection
    }

    // The site answers plain HTTP with a redirect to the same path over HTTPS, directly and
    // through the proxy (a CONNECT tunnel). Only this process trusts the test CA; a certificate
    // for another name fails like any failed transfer.
    void httpsAfterARedirect_data() {
        QTest::addColumn<QString>("certificate");
        QTest::addColumn<bool>("throughProxy");
        QTest::addColumn<bool>("fetched");
        QTest::newRow("direct") << "localhost" << false << true;
        QTest::newRow("through the proxy") << "localhost" << true << true;
        QTest::newRow("certificate for another name") << "otherhost" << false << false;
    }
    void httpsAfterARedirect() {
        QFETCH(QString, certificate);
        QFETCH(bool, throughProxy);
        QSslConfiguration trusting = QSslConfiguration::defaultConfiguration();
        trusting.addCaCertificates(QSslCertificate::fromData(testTls(QStringLiteral("ca.crt"))));
        QSslConfiguration::setDefaultConfiguration(trusting);
        // Schannel under Wine can serve no certificate of its own (nor trust a CA added just
        // above): there ./dev windows runs the Linux sample server for each certificate, trusts
        // the test CA in its own Wine prefix, and names the servers' plain ports here.
        const QByteArray external = qgetenv("KURSOVE_HTTPS_" + certificate.toUpper().toLatin1());
        std::unique_ptr<SampleServer> server;
        quint16 port = external.toUShort();
        if (external.isEmpty()) {
#ifdef Q_OS_WIN
            QSKIP("no TLS sample servers named (./dev windows starts them)");
#endif
            server = serve(sampleserver::Fault::RedirectToTls);
            QVERIFY(server->listenTls(
                QSslCertificate(testTls(certificate + QStringLiteral(".crt"))),
                QSslKey(testTls(certificate + QStringLiteral(".key")), QSsl::Rsa)));
            port = server->port();
        }

        Inet inet(QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(rates::RatePath));
        if (throughProxy) {
            inet.setAccessType(Inet::Access::NamedProxy);
            inet.setProxy(QStringLiteral("127.0.0.1:%1").arg(port));
        }
        QString pagetext = QStringLiteral("earlier page");
        const Inet::Outcome outcome = rates::downfile(inet, pagetext);
        QTEST(outcome == Inet::Outcome::Ok, "fetched");
        QCOMPARE(pagetext.contains(QStringLiteral("Щатски долар")), outcome == Inet::Outcome::Ok);
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
