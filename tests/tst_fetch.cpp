// What the transfer sends, directly and through a proxy, to a sample server on 127.0.0.1.
// How each failure looks to a person is in tst_faults.
#include "platform/core/inet.h"
#include "rates/address.h"
#include "rates/downfile.h"
#include "scratch.h"
#include "tools/sampleserver/sampleserver.h"

#include <QTest>
#include <QTimer>

using platform::Inet;
using sampleserver::SampleServer;

namespace {

const QByteArray OriginLine = "GET /zvt/rates.nsf/vWebRatesByMonthBG/$First HTTP/1.1";

std::unique_ptr<SampleServer> serve(sampleserver::Fault fault = sampleserver::Fault::None) {
    auto server = std::make_unique<SampleServer>(
        sampleserver::Config{samplePage(), "text/html; charset=windows-1251", fault});
    if (!server->listen())
        qFatal("cannot listen on 127.0.0.1");
    return server;
}

QString origin(const SampleServer& server) {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(server.port()).arg(rates::RatePath);
}

} // namespace

class TestFetch : public QObject {
    Q_OBJECT
private slots:
    void directIgnoresTheEnvironmentsProxy() {
        const auto server = serve();
        qputenv("http_proxy", "http://127.0.0.1:9/");
        Inet inet(origin(*server));
        QString pagetext;
        QCOMPARE(rates::downfile(inet, pagetext), Inet::Outcome::Ok);
        qunsetenv("http_proxy");
        QCOMPARE(server->requestLines(), QByteArrayList{OriginLine});
        QVERIFY(pagetext.contains(QStringLiteral("Щатски долар")));
    }

    void proxyGetsTheAbsoluteAddressAndDirectComesBack() {
        const auto proxy = serve();
        Inet inet(QString::fromLatin1(rates::RateAddress));
        inet.setAccessType(Inet::NamedProxy);
        inet.setProxy(QStringLiteral("127.0.0.1:%1").arg(proxy->port()));
        QString pagetext;
        QCOMPARE(rates::downfile(inet, pagetext), Inet::Outcome::Ok);
        inet.setAccessType(Inet::Direct); // the proxy text stays, unused
        inet.setURL(origin(*proxy));
        QCOMPARE(rates::downfile(inet, pagetext), Inet::Outcome::Ok);
        QCOMPARE(
            proxy->requestLines(),
            QByteArrayList({"GET " + QByteArray(rates::RateAddress) + " HTTP/1.1", OriginLine}));
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
        inet.setAccessType(Inet::NamedProxy);
        inet.setProxy(proxyText.contains(u'%') ? proxyText.arg(server->port()) : proxyText);
        QString pagetext = QStringLiteral("earlier page");
        QCOMPARE(rates::downfile(inet, pagetext), Inet::Outcome::Failed);
        QVERIFY(pagetext.isEmpty());
        QVERIFY(server->requestLines().isEmpty()); // never a quiet direct connection
    }

    void waitEndedFromOutsideIsNoPage() {
        const auto server = serve(sampleserver::Fault::Stall);
        Inet inet(origin(*server));
        QTimer::singleShot(200, [] { QCoreApplication::exit(0); });
        QString pagetext = QStringLiteral("earlier page");
        QCOMPARE(rates::downfile(inet, pagetext), Inet::Outcome::Interrupted);
        QVERIFY(pagetext.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestFetch)
#include "tst_fetch.moc"
