// The main window end to end, offscreen: layout, the refresh command's states, the error box,
// start-up with the options, and shut-down.
#include "app/frmMain.h"
#include "options/frmOpt.h"
#include "pagefile.h"
#include "platform/flexgrid.h"
#include "rates/address.h"
#include "tools/sampleserver/sampleserver.h"
#include "windowkit.h"
#include "workdir.h"

#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using sampleserver::Fault;
using sampleserver::SampleServer;

namespace {

sampleserver::Config pageConfig() {
    sampleserver::Config config;
    config.page = samplePage();
    return config;
}

void pointAt(app::frmMain& window, const SampleServer& server) {
    window.Inet1().setURL(
        QStringLiteral("http://127.0.0.1:%1%2").arg(server.port()).arg(rates::RatePath));
}

struct RefreshState {
    bool buttonEnabled = true;
    bool optionsEnabled = true;
    QString caption;
};

// options.opt with the proxy on and the given server as the proxy.
void writeProxyOptions(const SampleServer& proxy, bool refreshOnStart) {
    ScratchDir::write(QStringLiteral("1\r\n%1\r\n%2\r\n\"127.0.0.1\"\r\n")
                          .arg(refreshOnStart ? 1 : 0)
                          .arg(proxy.port())
                          .toLatin1());
}

RefreshState stateOf(const app::frmMain& window) {
    return {window.btnRefresh->isEnabled(), window.mnuOptions->isEnabled(),
            window.btnRefresh->text()};
}

} // namespace

class TestFrmMain : public QObject {
    Q_OBJECT
private slots:
    void layoutAtStart() {
        ScratchDir dir;
        WindowToolkit toolkit;
        CountingShell shell;
        app::frmMain window(toolkit, shell);
        window.Form_Load();
        QCOMPARE(window.windowTitle(), QStringLiteral("Валутни курсове на ЗВТ v1.4 KS"));
        QCOMPARE(window.FG->Rows(), 31);
        QCOMPARE(window.FG->Cols(), 6);
        const QStringList headers{QStringLiteral("Валути") + QString(35, u' '),
                                  QStringLiteral("Код   "),
                                  QStringLiteral("За единици валута "),
                                  QStringLiteral("Лева (BGN) "),
                                  QStringLiteral("За 1 лев  "),
                                  QStringLiteral("Обратен курс     ")};
        for (int col = 0; col < 6; ++col) {
            QCOMPARE(window.FG->TextMatrix(0, col), headers.at(col));
            QVERIFY(window.FG->columnWidth(col) >
                    window.FG->fontMetrics().horizontalAdvance(headers.at(col).trimmed()));
        }
        QCOMPARE(window.lblDate2->text(), QStringLiteral("-"));
        QCOMPARE(window.lblUSD->text(), QStringLiteral("ЛВ"));
        QCOMPARE(window.btnRefresh->text(), QStringLiteral("Обнови"));
        QCOMPARE(window.lblDate2->textFormat(), Qt::PlainText);
        QVERIFY(!window.FG->accessibleName().isEmpty());
        QVERIFY(!window.isVisible()); // shown by the start-up, not by loading
    }

    void refreshShowsRatesAndKeepsThemAfterAFailure() {
        ScratchDir dir;
        WindowToolkit toolkit;
        CountingShell shell;
        app::frmMain window(toolkit, shell);
        window.Form_Load();
        window.show();
        auto config = pageConfig();
        config.delayMs = 300;
        SampleServer server(config);
        QVERIFY(server.listen());
        pointAt(window, server);

        RefreshState during;
        QTimer::singleShot(100, [&] { during = stateOf(window); });
        window.btnRefresh_Click();
        QVERIFY(!during.buttonEnabled);
        QVERIFY(!during.optionsEnabled);
        QCOMPARE(during.caption, QStringLiteral("Обновяване..."));
        QCOMPARE(stateOf(window).caption, QStringLiteral("Обнови"));
        QVERIFY(window.btnRefresh->isEnabled() && window.mnuOptions->isEnabled());
        QCOMPARE(window.FG->TextMatrix(26, 0), QStringLiteral("Щатски долар"));
        QCOMPARE(window.FG->TextMatrix(26, 3), QStringLiteral("1.67142"));
        QCOMPARE(window.lblDate2->text(), QStringLiteral("05.12.2026"));
        QCOMPARE(window.lblUSD->text(), QStringLiteral(" 1.671 ЛВ"));

        // Now the site answers 404: one box, and the rates stay on screen.
        server.config().fault = Fault::Status;
        RefreshState whileBoxOpen;
        QString title;
        QString text;
        int buttons = 0;
        QMessageBox::Icon icon = QMessageBox::Warning;
        whenModalOpens([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box != nullptr);
            whileBoxOpen = stateOf(window);
            title = box->windowTitle();
            text = box->text();
            buttons = static_cast<int>(box->buttons().size());
            icon = box->icon();
            box->button(QMessageBox::Ok)->click();
        });
        window.btnRefresh_Click();
        QCOMPARE(toolkit.boxes, 1);
        QCOMPARE(title, QStringLiteral("Грешка"));
        QCOMPARE(text, QStringLiteral("Нямя връзка с интернет\nили сайта на ЗВТ е недостъпен"));
        QCOMPARE(buttons, 1);
        QCOMPARE(icon, QMessageBox::NoIcon);
        QVERIFY(!whileBoxOpen.buttonEnabled && !whileBoxOpen.optionsEnabled);
        QCOMPARE(whileBoxOpen.caption, QStringLiteral("Обновяване..."));
        QVERIFY(window.pagetext().isEmpty());
        QCOMPARE(window.lblDate2->text(), QStringLiteral("05.12.2026"));
        QCOMPARE(window.lblUSD->text(), QStringLiteral(" 1.671 ЛВ"));
        QCOMPARE(window.FG->TextMatrix(1, 1), QStringLiteral("AUD"));
        QCOMPARE(stateOf(window).caption, QStringLiteral("Обнови"));
        QVERIFY(window.btnRefresh->isEnabled() && window.mnuOptions->isEnabled());
    }

    void refreshAtStartFetchesThroughTheProxyBeforeLoadingEnds() {
        SampleServer proxy(pageConfig());
        QVERIFY(proxy.listenOnStorablePort());
        ScratchDir dir;
        writeProxyOptions(proxy, true);
        WindowToolkit toolkit;
        CountingShell shell;
        app::frmMain window(toolkit, shell);
        bool loadingDuringFetch = false;
        bool visibleDuringFetch = false;
        connect(&proxy, &SampleServer::requestSeen, this, [&] {
            loadingDuringFetch = window.Loading();
            visibleDuringFetch = window.isVisible();
        });
        window.Form_Load();
        QVERIFY(!window.Loading());
        QVERIFY(loadingDuringFetch);
        QVERIFY(visibleDuringFetch);
        QCOMPARE(proxy.requestLines(),
                 QByteArrayList{"GET http://www.zvt.bg/zvt/rates.nsf/vWebRatesByMonthBG/$First "
                                "HTTP/1.1"});
        QCOMPARE(window.lblDate2->text(), QStringLiteral("05.12.2026"));
    }

    void noRefreshAtStartFetchesNothing() {
        SampleServer proxy(pageConfig());
        QVERIFY(proxy.listenOnStorablePort());
        ScratchDir dir;
        writeProxyOptions(proxy, false);
        WindowToolkit toolkit;
        CountingShell shell;
        app::frmMain window(toolkit, shell);
        window.Form_Load();
        QTest::qWait(100);
        QVERIFY(proxy.requestLines().isEmpty());
        QCOMPARE(window.Inet1().AccessType(), platform::Inet::NamedProxy);
        QCOMPARE(window.Inet1().Proxy(), QStringLiteral("127.0.0.1:%1").arg(proxy.port()));
    }

    void closingTheWindowSavesAndEnds() {
        ScratchDir dir;
        WindowToolkit toolkit;
        CountingShell shell;
        app::frmMain window(toolkit, shell);
        window.Form_Load();
        window.show();
        options::Options changed = window.Opt().record();
        changed.proxyHost = QStringLiteral("proxy.local");
        changed.useProxy = 1;
        window.Opt().setRecord(changed);
        QVERIFY(window.close());
        QCOMPARE(toolkit.ends, 1);
        QCOMPARE(ScratchDir::read(), QByteArray("1\r\n0\r\n8080\r\n\"proxy.local\"\r\n"));

        window.mnuExit->trigger();
        QCOMPARE(toolkit.ends, 2);
    }
};

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
