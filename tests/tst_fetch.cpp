// The transfer against a sample server on 127.0.0.1: what is sent, and that every failure
// ends the same way, with no page.
#include "pagefile.h"
#include "platform/inet.h"
#include "rates/address.h"
#include "rates/downfile.h"
#include "tools/sampleserver/sampleserver.h"

#include <QTest>
#include <QTimer>

using platform::Inet;
using sampleserver::Fault;
using sampleserver::SampleServer;

namespace {

QString originAddress(const SampleServer& server) {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(server.port()).arg(rates::RatePath);
}

sampleserver::Config pageConfig(Fault fault = Fault::None) {
    sampleserver::Config config;
    config.page = samplePage();
    config.fault = fault;
    return config;
}

} // namespace

class TestFetch : public QObject {
    Q_OBJECT
private slots:
    void directFetchSendsTheExactPath() {
        SampleServer server(pageConfig());
        QVERIFY(server.listen());
        // A proxy named in the environment must not be used for a direct connection.
        qputenv("http_proxy", "http://127.0.0.1:9/");
        Inet inet(originAddress(server));
        QString pagetext;
        QCOMPARE(rates::downfile(inet, pagetext), Inet::Outcome::Ok);
        qunsetenv("http_proxy");
        QCOMPARE(server.requestLines(),
                 QByteArrayList{"GET /zvt/rates.nsf/vWebRatesByMonthBG/$First HTTP/1.1"});
        QVERIFY(pagetext.contains(QStringLiteral("Щатски долар")));
    }

    void proxyFetchSendsTheAbsoluteAddress() {
        SampleServer proxy(pageConfig());
        QVERIFY(proxy.listen());
        Inet inet(QString::fromLatin1(rates::RateAddress));
        inet.setAccessType(Inet::NamedProxy);
        inet.setProxy(QStringLiteral("127.0.0.1:%1").arg(proxy.port()));
        QString pagetext;
        QCOMPARE(rates::downfile(inet, pagetext), Inet::Outcome::Ok);
        QCOMPARE(proxy.requestLines(),
                 QByteArrayList{"GET http://www.zvt.bg/zvt/rates.nsf/vWebRatesByMonthBG/$First "
                                "HTTP/1.1"});
        QVERIFY(pagetext.contains(QStringLiteral("05.12.2026")));

        // Back to direct: the proxy text stays, unused.
        inet.setAccessType(Inet::Direct);
        inet.setURL(originAddress(proxy));
        QCOMPARE(rates::downfile(inet, pagetext), Inet::Outcome::Ok);
        QCOMPARE(proxy.requestLines().last(),
                 QByteArray("GET /zvt/rates.nsf/vWebRatesByMonthBG/$First HTTP/1.1"));
    }

    void unusableProxyFailsWithoutConnecting_data() {
        QTest::addColumn<QString>("proxyText");
        QTest::newRow("empty host") << ":%1";
        QTest::newRow("port 0") << "127.0.0.1:0";
        QTest::newRow("negative port") << "127.0.0.1:-1";
        QTest::newRow("port over 65535") << "127.0.0.1:70000";
        QTest::newRow("no port") << "127.0.0.1";
        QTest::newRow("empty") << "";
    }
    void unusableProxyFailsWithoutConnecting() {
        QFETCH(QString, proxyText);
        SampleServer origin(pageConfig());
        QVERIFY(origin.listen());
        Inet inet(originAddress(origin));
        inet.setAccessType(Inet::NamedProxy);
        inet.setProxy(proxyText.contains(u'%') ? proxyText.arg(origin.port()) : proxyText);
        QString pagetext = QStringLiteral("earlier page");
        QCOMPARE(rates::downfile(inet, pagetext), Inet::Outcome::Failed);
        QVERIFY(pagetext.isEmpty());
        QVERIFY(origin.requestLines().isEmpty()); // never a quiet direct connection
    }

    void failuresLeaveNoPage_data() {
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("status");
        QTest::newRow("empty body") << int(Fault::Empty) << 0;
        QTest::newRow("404 with a page") << int(Fault::Status) << 404;
        QTest::newRow("500 with a page") << int(Fault::Status) << 500;
        QTest::newRow("closed mid-body") << int(Fault::CloseMidBody) << 0;
        QTest::newRow("stalled past the time-out") << int(Fault::Stall) << 0;
        QTest::newRow("redirect loop") << int(Fault::RedirectLoop) << 0;
    }
    void failuresLeaveNoPage() {
        QFETCH(int, fault);
        QFETCH(int, status);
        auto config = pageConfig(static_cast<Fault>(fault));
        config.status = status;
        SampleServer server(config);
        QVERIFY(server.listen());
        Inet inet(originAddress(server));
        inet.setRequestTimeout(std::chrono::milliseconds(400));
        QString pagetext = QStringLiteral("earlier page");
        QCOMPARE(rates::downfile(inet, pagetext), Inet::Outcome::Failed);
        QVERIFY(pagetext.isEmpty());
    }

    void refusedConnectionFails() {
        SampleServer server(pageConfig());
        QVERIFY(server.listen());
        server.refuse();
        Inet inet(originAddress(server));
        QString pagetext = QStringLiteral("earlier page");
        QCOMPARE(rates::downfile(inet, pagetext), Inet::Outcome::Failed);
        QVERIFY(pagetext.isEmpty());
    }

    void oversizedBodyIsCut() {
        SampleServer server(pageConfig());
        QVERIFY(server.listen());
        Inet inet(originAddress(server));
        inet.setMaxBody(1000);
        QString pagetext;
        QCOMPARE(rates::downfile(inet, pagetext), Inet::Outcome::Failed);
        QVERIFY(pagetext.isEmpty());
        // Without a Content-Length the cap holds as the bytes arrive.
        server.config().fault = Fault::Http10;
        QCOMPARE(rates::downfile(inet, pagetext), Inet::Outcome::Failed);
    }

    void otherWiresStillGiveThePage_data() {
        QTest::addColumn<int>("fault");
        QTest::newRow("chunked") << int(Fault::Chunked);
        QTest::newRow("HTTP/1.0 without length") << int(Fault::Http10);
    }
    void otherWiresStillGiveThePage() {
        QFETCH(int, fault);
        SampleServer server(pageConfig(static_cast<Fault>(fault)));
        QVERIFY(server.listen());
        Inet inet(originAddress(server));
        QString pagetext;
        QCOMPARE(rates::downfile(inet, pagetext), Inet::Outcome::Ok);
        QVERIFY(pagetext.endsWith(QStringLiteral("</html>\r\n")));
    }

    void loopEndedFromOutsideIsNoPage() {
        SampleServer server(pageConfig(Fault::Stall));
        QVERIFY(server.listen());
        Inet inet(originAddress(server));
        QTimer::singleShot(200, [] { QCoreApplication::exit(0); });
        QString pagetext = QStringLiteral("earlier page");
        QCOMPARE(rates::downfile(inet, pagetext), Inet::Outcome::Interrupted);
        QVERIFY(pagetext.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestFetch)
#include "tst_fetch.moc"
