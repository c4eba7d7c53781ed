// The main window end to end, offscreen: layout, the refresh command's states, the error box,
// start-up with the options, and shut-down.
#include "about/frmAbout.h"
#include "modal.h"
#include "options/frmOpt.h"
#include "platform/widgets/flexgrid.h"
#include "program.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
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
        QCOMPARE(window.FG->TextMatrix(0, 5), QStringLiteral("Обратен курс     "));
        // The headers' trailing spaces widen their columns before any rate is there.
        const QFontMetrics metrics(window.FG->font());
        for (int col = 0; col < 6; ++col) {
            const QString header = window.FG->TextMatrix(0, col);
            QVERIFY2(header.endsWith(u' '), qPrintable(header));
            QVERIFY2(window.FG->columnWidth(col) >= metrics.horizontalAdvance(header),
                     qPrintable(header));
        }
        // A text with line breaks shows on one line and reads back whole, until replaced.
        window.FG->setTextMatrix(1, 0, QStringLiteral("a\r\nb\tc"));
        QCOMPARE(window.FG->item(0, 0)->text(), QStringLiteral("a  b c"));
        QCOMPARE(window.FG->TextMatrix(1, 0), QStringLiteral("a\r\nb\tc"));
        window.FG->setTextMatrix(1, 0, QStringLiteral("d"));
        QCOMPARE(window.FG->TextMatrix(1, 0), QStringLiteral("d"));
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

    // A refresh asked for from code while one runs (a person cannot: the controls are off)
    // does nothing.
    void refreshDuringARefreshFetchesOnce() {
        Program app;
        sampleserver::Config config{samplePage()};
        config.delayMs = 300;
        SampleServer server(config);
        QVERIFY(server.listen());
        app.fetchFrom(server);
        QTimer::singleShot(0, &app.window, &app::frmMain::btnRefresh_Click);
        app.window.btnRefresh_Click();
        QCOMPARE(server.requestLines().size(), 1);
        QCOMPARE(stateOf(app.window), Idle);
        QCOMPARE(app.window.lblDate2->text(), QStringLiteral("05.12.2026"));
    }

    // Asked to quit while a page downloads (the session ends): the options are saved and the
    // program ends, with no error box for the page it did not get.
    void quitDuringARefreshSavesAndEnds() {
        // After exit() every event loop ends at once until the application's own loop has run
        // again: it runs for a moment at the end, so the later tests can wait.
        const auto rearm = qScopeGuard([] {
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            QCoreApplication::exec();
        });
        Program app;
        options::Options changed = app.window.Opt().record();
        changed.proxyHost = QStringLiteral("kept.local");
        app.window.Opt().setRecord(changed);
        SampleServer server({samplePage(), "text/html", sampleserver::Fault::Stall});
        QVERIFY(server.listen());
        app.fetchFrom(server);
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        app.window.btnRefresh_Click();
        QCOMPARE(app.toolkit.ends, 1);
        QVERIFY(app.toolkit.messages.isEmpty());
        QCOMPARE(ScratchDir::read(), QByteArray("0\r\n0\r\n8080\r\n\"kept.local\"\r\n"));
    }

    void aboutMenuOpensTheAboutWindow() {
        Program app;
        app.window.show();
        QWidget* opened = nullptr;
        whenModalOpens([&opened](QWidget* modal) {
            opened = modal;
            modal->hide(); // whichever window it is
        });
        app.window.mnuAbout->trigger();
        QCOMPARE(opened, &app.window.About());
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
    // the caption beside it as its label. (The grid's cells: windowFitsTheValuesAndTheScreen.)
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
    }

    // In a font wider than the layout's, columns widen to their cells, labels to their texts
    // and the window to both, but never past the screen: then the grid scrolls sideways, and a
    // value longer than the screen shows cut while its cell keeps it whole. Ordinary values
    // afterwards bring the window back to their size.
    void windowFitsTheValuesAndTheScreen() {
        Program app;
        app::frmMain& window = app.window;
        QFont wide(QStringLiteral("DejaVu Sans"));
        wide.setPointSizeF(11);
        for (QWidget* widget : std::initializer_list<QWidget*>{window.FG, window.lblDate2,
                                                               window.lblUSD, window.Label1})
            widget->setFont(wide);
        window.show();
        SampleServer server({samplePage()});
        QVERIFY(server.listen());
        app.fetchFrom(server);
        window.btnRefresh_Click();
        QTest::qWait(0);
        const int sampleWidth = window.width();
        const int sampleScroll = window.FG->horizontalScrollBar()->maximum(); // 0 where it fits
        const int screenWidth = window.screen()->availableGeometry().width();
        const auto onScreen = [&] {
            QTest::qWait(0);
            return window.frameGeometry().width() <= screenWidth &&
                   window.frameGeometry().left() >= 0;
        };
        QVERIFY(onScreen());

        server.config().page = longPage();
        window.btnRefresh_Click();
        QCOMPARE(window.FG->TextMatrix(26, 3), QStringLiteral("2063.4814629044"));
        const QFontMetrics metrics(wide);
        constexpr int TextMargins = 6; // the delegate's margins on both sides of a cell's text
        for (int row = 1; row <= 28; ++row) {
            for (int col = 0; col < 6; ++col) {
                const QString text = window.FG->item(row - 1, col)->text();
                // Whole, unless wider than the grid can show on this screen.
                QVERIFY2(window.FG->columnWidth(col) >=
                             std::min(metrics.horizontalAdvance(text) + TextMargins,
                                      window.FG->viewport()->width()),
                         qPrintable(text));
            }
        }
        QVERIFY(window.width() >= sampleWidth); // equal where both fill the screen
        QVERIFY(onScreen());
        QCOMPARE(window.FG->horizontalScrollBar()->maximum() > 0,
                 window.FG->horizontalHeader()->length() > window.FG->viewport()->width());
        int right = 0;
        for (QLabel* label : {window.lblDate, window.lblDate2, window.Label1, window.lblUSD}) {
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
            QVERIFY2(label->x() >= right, qPrintable(label->text())); // no overlap
            right = label->geometry().right() + 1;
        }
        QVERIFY(right <= window.centralWidget()->width());

        // A name of 1,100 letters, a code and a rate of 300 digits, and as long a date.
        QByteArray huge = samplePage();
        huge.replace("05.12.2026", QByteArray(400, '5'));
        huge.replace("USD", QByteArray(300, 'U'));
        huge.replace("1.67142", "1." + QByteArray(300, '6'));
        huge.replace("\xC0\xE2\xF1\xF2\xF0\xE0\xEB\xE8\xE9\xF1\xEA\xE8 \xE4\xEE\xEB\xE0\xF0",
                     QByteArray(1100, '\xE4')); // "Австралийски долар" in windows-1251
        server.config().page = huge;
        window.btnRefresh_Click();
        QCOMPARE(window.FG->TextMatrix(1, 0), QString(1100, u'д'));
        QCOMPARE(
            QAccessible::queryAccessibleInterface(window.FG)->tableInterface()->cellAt(0, 0)->text(
                QAccessible::Name),
            QString(1100, u'д'));
        QCOMPARE(window.FG->TextMatrix(26, 1), QString(300, u'U'));
        QVERIFY(onScreen());
        QVERIFY(window.FG->horizontalScrollBar()->maximum() > 0);
        QVERIFY(window.FG->columnWidth(1) <= window.FG->viewport()->width());
        QCOMPARE(window.lblDate2->text(), QString(400, u'5'));

        server.config().page = samplePage();
        window.btnRefresh_Click();
        QTest::qWait(0);
        QCOMPARE(window.width(), sampleWidth);
        QCOMPARE(window.FG->horizontalScrollBar()->maximum(), sampleScroll);
    }

    // Enter and Space on the focused button and F5 refresh, F5 only while the button is
    // enabled, and the button has the focus again after its refresh; Tab walks out of the grid;
    // Ctrl+C copies a range of the grid as tab-separated lines, and nothing when none is chosen.
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
        QVERIFY(window.btnRefresh->hasFocus()); // so Enter refreshes again
        QTest::keyClick(window.btnRefresh, Qt::Key_Space);
        QCOMPARE(server.requestLines().size(), 2);
        QTest::keyClick(&window, Qt::Key_F5);
        QCOMPARE(server.requestLines().size(), 3);
        window.btnRefresh->setEnabled(false);
        QTest::keyClick(&window, Qt::Key_F5);
        QCOMPARE(server.requestLines().size(), 3);
        window.btnRefresh->setEnabled(true);

        // Tab leaves the grid for the button, Shift+Tab comes back.
        window.FG->setFocus();
        window.FG->setCurrentCell(29, 5);
        QTest::keyClick(window.FG, Qt::Key_Tab);
        QVERIFY(window.btnRefresh->hasFocus());
        QTest::keyClick(window.btnRefresh, Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(window.FG->hasFocus());

        QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
        window.FG->clearSelection();
        QTest::keyClick(window.FG, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
        window.FG->setRangeSelected(QTableWidgetSelectionRange(0, 1, 1, 3), true);
        QTest::keyClick(window.FG, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("AUD\t1\t1.10342\nCAD\t1\t1.20117\n"));
    }

    // --help and --version answer on standard output, with no display; anything unknown is
    // refused with one line and status 2; none of them starts the window (which would write
    // options.opt). The toolkit's own options, with a value or without, start it.
    void commandLine() {
        const ScratchDir dir;
        QProcess program;
        const auto run = [&](const QString& argument) {
            program.start(QStringLiteral(KURSOVE_BINARY), {argument});
            return program.waitForFinished(10000) ? program.exitCode() : -1;
        };
#ifdef Q_OS_LINUX
        QProcessEnvironment noDisplay = QProcessEnvironment::systemEnvironment();
        noDisplay.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        noDisplay.remove(QStringLiteral("DISPLAY"));
        noDisplay.remove(QStringLiteral("WAYLAND_DISPLAY"));
        program.setProcessEnvironment(noDisplay);
#endif
        QCOMPARE(run(QStringLiteral("--help")), 0);
        QVERIFY(program.readAllStandardOutput().contains("--version"));
        QCOMPARE(run(QStringLiteral("-v")), 0);
        QCOMPARE(program.readAllStandardOutput().trimmed(), "kursove 1.4.0"); // CR LF on Windows
        program.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        QCOMPARE(run(QStringLiteral("--bogus")), 2);
        QVERIFY(program.readAllStandardOutput().isEmpty());
        const QByteArray error = program.readAllStandardError();
        // One line of the program's own (the toolkit may warn of its setting-up before it).
        QCOMPARE(error.count("kursove: "), 1);
        QVERIFY(error.trimmed().endsWith("kursove: Unknown option 'bogus'."));
        QCOMPARE(run(QStringLiteral("extra")), 2);
        QVERIFY(!QFile::exists(QStringLiteral("options.opt")));

        program.start(QStringLiteral(KURSOVE_BINARY),
                      {QStringLiteral("-testability"), QStringLiteral("-style"),
                       QStringLiteral("fusion"), QStringLiteral("-platform"),
                       QStringLiteral("offscreen")});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QStringLiteral("options.opt")) ||
                                     program.state() == QProcess::NotRunning,
                                 60000);
        QCOMPARE(program.state(), QProcess::Running); // started, not refused
        program.kill();
        program.waitForFinished();
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
