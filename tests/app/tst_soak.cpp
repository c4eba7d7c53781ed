// A thousand refreshes, good and failed in turn: the program's memory must level off.
#include "program.h"
#include "tools/bench/memory.h"

#include <QTest>
#include <cstdio>

class TestSoak : public QObject {
    Q_OBJECT
private slots:
    void thousandRefreshes() {
        Program app;
        sampleserver::SampleServer server({samplePage()});
        QVERIFY(server.listen());
        app.fetchFrom(server);
        server.config().status = 500;
        qint64 afterWarmUp = 0;
        for (int i = 1; i <= 1000; ++i) {
            server.config().fault =
                i % 2 == 0 ? sampleserver::Fault::Status : sampleserver::Fault::None;
            app.window.btnRefresh_Click();
            if (i == 100)
                afterWarmUp = bench::residentKiB();
        }
        QCOMPARE(app.toolkit.messages.size(), 500);
        const qint64 growth = bench::residentKiB() - afterWarmUp;
        std::printf("soak: 1000 refreshes; resident memory %lld KiB after 100, grew %lld KiB by "
                    "1000\n",
                    static_cast<long long>(afterWarmUp), static_cast<long long>(growth));
#ifndef KURSOVE_SANITIZED
        // Under AddressSanitizer freed memory is held back on purpose; LeakSanitizer judges there.
        QVERIFY2(afterWarmUp < 0 || growth < 2048, "memory grows with every refresh");
#endif
    }
};

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
