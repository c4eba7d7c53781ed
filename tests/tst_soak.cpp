// A thousand refreshes against the sample server, good and failed in turn: the program's
// memory must level off, not grow with every refresh.
#include "app/frmMain.h"
#include "faketoolkit.h"
#include "pagefile.h"
#include "platform/memory.h"
#include "rates/address.h"
#include "tools/sampleserver/sampleserver.h"
#include "windowkit.h"
#include "workdir.h"

#include <QTest>
#include <cstdio>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool Sanitized = true; // the quarantine holds freed memory: LeakSanitizer judges
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool Sanitized = true;
#else
constexpr bool Sanitized = false;
#endif
#else
constexpr bool Sanitized = false;
#endif

} // namespace

class TestSoak : public QObject {
    Q_OBJECT
private slots:
    void thousandRefreshes() {
        ScratchDir dir;
        FakeToolkit toolkit;
        CountingShell shell;
        app::frmMain window(toolkit, shell);
        window.Form_Load();
        sampleserver::Config config;
        config.page = samplePage();
        sampleserver::SampleServer server(config);
        QVERIFY(server.listen());
        window.Inet1().setURL(
            QStringLiteral("http://127.0.0.1:%1%2").arg(server.port()).arg(rates::RatePath));

        constexpr int Refreshes = 1000;
        constexpr int WarmUp = 100;
        qint64 afterWarmUp = 0;
        for (int i = 1; i <= Refreshes; ++i) {
            server.config().fault =
                i % 2 == 0 ? sampleserver::Fault::Status : sampleserver::Fault::None;
            server.config().status = 500;
            window.btnRefresh_Click();
            if (i == WarmUp)
                afterWarmUp = platform::residentKiB();
        }
        QCOMPARE(toolkit.messages.size(), Refreshes / 2);
        QCOMPARE(server.requestLines().size(), Refreshes);
        const qint64 atEnd = platform::residentKiB();
        if (afterWarmUp < 0)
            QSKIP("resident memory is not readable here");
        std::printf("soak: %d refreshes, resident memory %lld KiB after %d, %lld KiB after %d "
                    "(growth %lld KiB)\n",
                    Refreshes, static_cast<long long>(afterWarmUp), WarmUp,
                    static_cast<long long>(atEnd), Refreshes,
                    static_cast<long long>(atEnd - afterWarmUp));
        if (!Sanitized)
            QVERIFY2(atEnd - afterWarmUp < 2048, "memory grows with every refresh");
    }
};

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
