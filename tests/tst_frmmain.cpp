// The main window end to end, offscreen: layout, the refresh command's states, the error box,
// start-up with the options, and shut-down.
#include "modal.h"
#include "options/frmOpt.h"
#include "platform/flexgrid.h"
#include "program.h"

#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using sampleserver::SampleServer;

namespace {

struct State {
    bool button;
    bool options;
    QString caption;
    bool operator==(const State&) const = default;
};

State stateOf(const app::frmMain& window) {
    return {window.btnRefresh->isEnabled(), window.mnuOptions->isEnabled(),
            window.btnRefresh->text()};
}

const State Idle{true, true, QStringLiteral("Обнови")};
const State Refreshing{false, false, QStringLiteral("Обновяване...")};

// options.opt naming `proxy` (which must listen where the file's port can say).
QByteArray proxyOptions(const SampleServer& proxy, bool refreshOnStart) {
    return QStringLiteral("1\r\n%1\r\n%2\r\n\"127.0.0.1\"\r\n")
        .arg(refreshOnStart ? 1 : 0)
        .arg(proxy.port())
        .toLatin1();
}

} // namespace

class TestFrmMain : public QObject {
    Q_OBJECT
private slots:
    void layoutAtStart() {
        Program app;
        const app::frmMain& window = app.window;
        QCOMPARE(window.FG->Rows(), 31);
        QCOMPARE(window.FG->Cols(), 6);
        const QStringList headers{"Валути" + QString(35, u' '),
                                  "Код   ",
                                  "За единици валута ",
                                  "Лева (BGN) ",
                                  "За 1 лев  ",
                                  "Обратен курс     "};
        for (int col = 0; col < 6; ++col) {
            QCOMPARE(window.FG->TextMatrix(0, col), headers.at(col));
            QVERIFY(window.FG->columnWidth(col) >=
                    window.FG->fontMetrics().horizontalAdvance(headers.at(col)));
        }
        QCOMPARE(window.lblDate2->text(), QStringLiteral("-"));
        QCOMPARE(window.lblUSD->text(), QStringLiteral("ЛВ"));
        QCOMPARE(window.lblDate2->textFormat(), Qt::PlainText);
        QCOMPARE(stateOf(window), Idle);
        QVERIFY(!window.isVisible()); // the start shows it, not loading
    }

    void refreshThenAFailureKeepsTheRates() {
        Program app;
        app.toolkit.show = showRealBox;
        app::frmMain& window = app.window;
        window.show();
        sampleserver::Config config{samplePage()};
        config.delayMs = 300;
        SampleServer server(config);
        QVERIFY(server.listen());
        app.fetchFrom(server);

        State during;
        QTimer::singleShot(100, [&] { during = stateOf(window); });
        window.btnRefresh_Click();
        QCOMPARE(during, Refreshing);
        QCOMPARE(stateOf(window), Idle);
        QCOMPARE(window.FG->TextMatrix(26, 3), QStringLiteral("1.67142"));
        QCOMPARE(window.lblDate2->text(), QStringLiteral("05.12.2026"));
        QCOMPARE(window.lblUSD->text(), QStringLiteral(" 1.671 ЛВ"));

        server.config().fault = sampleserver::Fault::Status;
        QString seen;
        whenModalOpens([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box != nullptr && box->icon() == QMessageBox::NoIcon);
            QCOMPARE(box->buttons().size(), 1);
            during = stateOf(window);
            seen = box->windowTitle() + u'|' + box->text();
            box->button(QMessageBox::Ok)->click();
        });
        window.btnRefresh_Click();
        QCOMPARE(seen,
                 QStringLiteral("Грешка|Нямя връзка с интернет\nили сайта на ЗВТ е недостъпен"));
        QCOMPARE(during, Refreshing);
        QCOMPARE(stateOf(window), Idle);
        QVERIFY(window.pagetext().isEmpty());
        QCOMPARE(window.lblUSD->text(), QStringLiteral(" 1.671 ЛВ"));
        QCOMPARE(window.FG->TextMatrix(1, 1), QStringLiteral("AUD"));
    }

    void refreshAtStartGoesThroughTheProxyBeforeLoadingEnds() {
        SampleServer proxy({samplePage()});
        QVERIFY(proxy.listenOnStorablePort());
        bool loadingAndShown = false;
        connect(&proxy, &SampleServer::requestSeen, this, [&] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (const auto* main = qobject_cast<app::frmMain*>(top))
                    loadingAndShown = main->Loading() && main->isVisible();
            }
        });
        const Program app(proxyOptions(proxy, true));
        QVERIFY(loadingAndShown);
        QVERIFY(!app.window.Loading());
        QCOMPARE(proxy.requestLines(),
                 QByteArrayList{"GET " + QByteArray(rates::RateAddress) + " HTTP/1.1"});
        QCOMPARE(app.window.lblDate2->text(), QStringLiteral("05.12.2026"));
    }

    void noRefreshAtStartFetchesNothing() {
        SampleServer proxy({samplePage()});
        QVERIFY(proxy.listenOnStorablePort());
        Program app(proxyOptions(proxy, false));
        QTest::qWait(100);
        QVERIFY(proxy.requestLines().isEmpty());
        QCOMPARE(app.window.Inet1().Proxy(), QStringLiteral("127.0.0.1:%1").arg(proxy.port()));
    }

    void closingTheWindowSavesAndEnds() {
        Program app;
        app.window.show();
        options::Options changed = app.window.Opt().record();
        changed.proxyHost = QStringLiteral("proxy.local");
        app.window.Opt().setRecord(changed);
        QVERIFY(app.window.close());
        QCOMPARE(app.toolkit.ends, 1);
        QCOMPARE(ScratchDir::read(), QByteArray("0\r\n0\r\n8080\r\n\"proxy.local\"\r\n"));
        app.window.mnuExit->trigger();
        QCOMPARE(app.toolkit.ends, 2);
    }
};

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
