// Applying the options: exact flag values, the proxy text, and the refresh that happens only
// while the main window loads.
#include "faketoolkit.h"
#include "options/dooptions.h"
#include "platform/inet.h"

#include <QTest>

using options::Options;
using platform::Inet;

namespace {

class FakeMain final : public options::MainHost {
public:
    explicit FakeMain(FakeToolkit& toolkit) : toolkit_(toolkit) {}
    [[nodiscard]] bool Loading() const override { return loading; }
    void showMain() override { toolkit_.calls << QStringLiteral("show"); }
    void btnRefresh_Click() override {
        toolkit_.calls << QStringLiteral("refresh ") + inet.Proxy();
    }
    Inet& Inet1() override { return inet; }
    bool loading = false;
    Inet inet{QStringLiteral("http://127.0.0.1:9/")};

private:
    FakeToolkit& toolkit_;
};

Options proxyOptions(quint8 useProxy, const QString& host, qint16 port) {
    Options opt;
    opt.useProxy = useProxy;
    opt.proxyHost = host;
    opt.proxyPort = port;
    return opt;
}

} // namespace

class TestDoOptions : public QObject {
    Q_OBJECT
private slots:
    void proxySettings_data() {
        QTest::addColumn<int>("useProxy");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::addColumn<int>("accessType");
        QTest::addColumn<QString>("proxyText");
        QTest::newRow("named proxy")
            << 1 << "proxy.local" << 3128 << Inet::NamedProxy << "proxy.local:3128";
        QTest::newRow("empty host") << 1 << "" << 8080 << Inet::NamedProxy << ":8080";
        QTest::newRow("negative port") << 1 << "h" << -1 << Inet::NamedProxy << "h:-1";
        QTest::newRow("direct") << 0 << "proxy.local" << 3128 << Inet::Direct << "as before";
        QTest::newRow("greyed changes nothing") << 2 << "h" << 1 << 99 << "as before";
        QTest::newRow("hand-edited 255 changes nothing") << 255 << "h" << 1 << 99 << "as before";
    }
    void proxySettings() {
        QFETCH(int, useProxy);
        QFETCH(QString, host);
        QFETCH(int, port);
        QFETCH(int, accessType);
        QFETCH(QString, proxyText);
        FakeToolkit toolkit;
        FakeMain main(toolkit);
        main.inet.setAccessType(99);
        main.inet.setProxy(QStringLiteral("as before"));
        options::DoOptions(
            proxyOptions(static_cast<quint8>(useProxy), host, static_cast<qint16>(port)), main,
            toolkit);
        QCOMPARE(main.inet.AccessType(), accessType);
        QCOMPARE(main.inet.Proxy(), proxyText);
        QVERIFY(toolkit.calls.isEmpty());
    }

    void switchingBackAndForth() {
        FakeToolkit toolkit;
        FakeMain main(toolkit);
        options::DoOptions(proxyOptions(1, QStringLiteral("a"), 1), main, toolkit);
        options::DoOptions(proxyOptions(0, QStringLiteral("b"), 2), main, toolkit);
        QCOMPARE(main.inet.AccessType(), Inet::Direct);
        QCOMPARE(main.inet.Proxy(), QStringLiteral("a:1"));
        options::DoOptions(proxyOptions(1, QStringLiteral("c"), 3), main, toolkit);
        QCOMPARE(main.inet.AccessType(), Inet::NamedProxy);
        QCOMPARE(main.inet.Proxy(), QStringLiteral("c:3"));
    }

    void refreshAtStartOnly_data() {
        QTest::addColumn<int>("refreshOnStart");
        QTest::addColumn<bool>("loading");
        QTest::addColumn<QStringList>("calls");
        // The proxy is already applied when the refresh runs.
        const QStringList refresh{"DoEvents", "show", "refresh p:8080"};
        QTest::newRow("at start") << 1 << true << refresh;
        QTest::newRow("from OK") << 1 << false << QStringList{};
        QTest::newRow("switched off") << 0 << true << QStringList{};
        QTest::newRow("greyed") << 2 << true << QStringList{};
    }
    void refreshAtStartOnly() {
        QFETCH(int, refreshOnStart);
        QFETCH(bool, loading);
        QFETCH(QStringList, calls);
        FakeToolkit toolkit;
        FakeMain main(toolkit);
        main.loading = loading;
        Options opt = proxyOptions(1, QStringLiteral("p"), 8080);
        opt.refreshOnStart = static_cast<quint8>(refreshOnStart);
        options::DoOptions(opt, main, toolkit);
        QCOMPARE(toolkit.calls, calls);
    }
};

QTEST_GUILESS_MAIN(TestDoOptions)
#include "tst_dooptions.moc"
