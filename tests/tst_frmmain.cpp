// The main window end to end, offscreen: layout, the refresh command's states, the error box,
// start-up with the options, and shut-down.
#include "modal.h"
#include "options/frmOpt.h"
#include "platform/flexgrid.h"
#include "program.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
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

QString accessibleName(QObject* object) {
    return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name);
}

// The page with long names and figures of many digits.
QByteArray longPage() {
    QFile file(qEnvironmentVariable("KURSOVE_LONG_PAGE"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("long sample page not found: set KURSOVE_LONG_PAGE");
    return file.readAll();
}

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
        QCOMPARE(window.FG->TextMatrix(0, 5), QStringLiteral("Обратен курс     "));
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

    // Each value label is read out as what it shows, with what it is as its description and
    // the caption beside it as its label; the grid is read as a table.
    void screenReaderReadsTheValues() {
        Program app;
        app::frmMain& window = app.window;
        SampleServer server({samplePage()});
        QVERIFY(server.listen());
        app.fetchFrom(server);
        QCOMPARE(accessibleName(window.lblDate2), QStringLiteral("-"));
        QCOMPARE(accessibleName(window.lblUSD), QStringLiteral("ЛВ"));
        window.btnRefresh_Click();
        QCOMPARE(accessibleName(window.lblDate2), QStringLiteral("05.12.2026"));
        QCOMPARE(accessibleName(window.lblUSD), QStringLiteral(" 1.671 ЛВ"));
        QAccessibleInterface* usd = QAccessible::queryAccessibleInterface(window.lblUSD);
        QCOMPARE(usd->text(QAccessible::Description),
                 QStringLiteral("Курс на щатския долар в лева"));
        const auto labelledBy = usd->relations(QAccessible::Label);
        QCOMPARE(labelledBy.size(), 1);
        QCOMPARE(labelledBy.first().first->text(QAccessible::Name), QStringLiteral("1 USD ="));

        QAccessibleTableInterface* table =
            QAccessible::queryAccessibleInterface(window.FG)->tableInterface();
        QVERIFY(table != nullptr);
        QCOMPARE(table->rowCount(), 30);
        QCOMPARE(table->columnCount(), 6);
        QCOMPARE(table->cellAt(25, 1)->text(QAccessible::Name), QStringLiteral("USD"));
        QCOMPARE(table->cellAt(25, 3)->text(QAccessible::Name), QStringLiteral("1.67142"));
    }

    // In a font wider than the layout's, every value still shows whole and nothing scrolls
    // sideways: columns widen to their cells, labels to their texts, the window to both.
    void everyValueShowsWholeInAWideFont() {
        Program app;
        app::frmMain& window = app.window;
        QFont wide(QStringLiteral("DejaVu Sans"));
        wide.setPointSizeF(11);
        for (QWidget* widget : std::initializer_list<QWidget*>{window.FG, window.lblDate2,
                                                               window.lblUSD, window.Label1})
            widget->setFont(wide);
        const int designWidth = window.centralWidget()->width();
        window.show();
        SampleServer server({longPage()});
        QVERIFY(server.listen());
        app.fetchFrom(server);
        window.btnRefresh_Click();
        QCOMPARE(window.FG->TextMatrix(26, 3), QStringLiteral("2063.4814629044"));

        const QFontMetrics metrics(wide);
        constexpr int TextMargins = 6; // the delegate's margins on both sides of a cell's text
        for (int row = 1; row <= 28; ++row) {
            for (int col = 0; col < 6; ++col) {
                const QString text = window.FG->item(row - 1, col)->text();
                QVERIFY2(window.FG->columnWidth(col) >=
                             metrics.horizontalAdvance(text) + TextMargins,
                         qPrintable(text));
            }
        }
        QTest::qWait(0);
        QCOMPARE(window.FG->horizontalScrollBar()->maximum(), 0);
        QVERIFY(window.centralWidget()->width() > designWidth);
        int right = 0;
        for (QLabel* label : {window.lblDate, window.lblDate2, window.Label1, window.lblUSD}) {
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
            QVERIFY2(label->x() >= right, qPrintable(label->text())); // no overlap
            right = label->geometry().right() + 1;
        }
        QVERIFY(right <= window.centralWidget()->width());
    }

    // Enter on the focused button and F5 refresh, F5 only while the button is enabled; Ctrl+C
    // copies a range of the grid as tab-separated lines.
    void keysOfTheMainWindow() {
        Program app;
        app::frmMain& window = app.window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        SampleServer server({samplePage()});
        QVERIFY(server.listen());
        app.fetchFrom(server);
        window.btnRefresh->setFocus();
        QTest::keyClick(window.btnRefresh, Qt::Key_Return);
        QCOMPARE(server.requestLines().size(), 1);
        QTest::keyClick(&window, Qt::Key_F5);
        QCOMPARE(server.requestLines().size(), 2);
        window.btnRefresh->setEnabled(false);
        QTest::keyClick(&window, Qt::Key_F5);
        QCOMPARE(server.requestLines().size(), 2);

        window.FG->setFocus();
        window.FG->setRangeSelected(QTableWidgetSelectionRange(0, 1, 1, 3), true);
        QTest::keyClick(window.FG, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("AUD\t1\t1.10342\nCAD\t1\t1.20117\n"));
    }

    // --help and --version answer on standard output; anything unknown is refused with one
    // line and status 2; none of them starts the window (which would write options.opt).
    void commandLineIsAnsweredWithoutAWindow() {
        const ScratchDir dir;
        QProcess program;
        const auto run = [&](const QString& argument) {
            program.start(QStringLiteral(KURSOVE_BINARY), {argument});
            return program.waitForFinished(10000) ? program.exitCode() : -1;
        };
        QCOMPARE(run(QStringLiteral("--help")), 0);
        QVERIFY(program.readAllStandardOutput().contains("--version"));
        QCOMPARE(run(QStringLiteral("-v")), 0);
        QCOMPARE(program.readAllStandardOutput().trimmed(), "kursove 1.4.0"); // CR LF on Windows
        QCOMPARE(run(QStringLiteral("--bogus")), 2);
        QVERIFY(program.readAllStandardOutput().isEmpty());
        const QByteArray error = program.readAllStandardError();
        QVERIFY(error.contains("bogus") && error.count('\n') == 1);
        QCOMPARE(run(QStringLiteral("extra")), 2);
        QVERIFY(!QFile::exists(QStringLiteral("options.opt")));
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
