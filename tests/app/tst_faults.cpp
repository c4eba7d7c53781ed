// What a person sees when the network or the site misbehaves: after a good refresh, each fault
// either brings the one error message with the earlier rates still on screen, or shows the page
// as far as it goes - and never crashes.
#include "platform/widgets/flexgrid.h"
#include "program.h"

#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>

using sampleserver::Fault;

class TestFaults : public QObject {
    Q_OBJECT
private slots:
    void afterAGoodRefresh_data() {
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<bool>("errorBox");
        // The date shown afterwards; none where junk takes the place of the earlier one.
        QTest::addColumn<QString>("date");
        const QByteArray page = samplePage();
        QByteArray junk(20000, Qt::Uninitialized);
        QRandomGenerator generator(42); // the same junk every run
        for (char& byte : junk)
            byte = static_cast<char>(generator.bounded(256));
        const auto row = [&](const char* name, Fault fault, const QByteArray& body, bool box,
                             int status = 0,
                             const QByteArray& type = "text/html; charset=windows-1251",
                             const QString& date = QStringLiteral("05.12.2026")) {
            QTest::newRow(name) << int(fault) << status << body << type << box << date;
        };
        row("refused", Fault::None, page, true);
        row("closed mid-body", Fault::CloseMidBody, page, true);
        row("accepts, then silence", Fault::Stall, page, true);
        row("500 with a page", Fault::Status, page, true, 500);
        row("404 with a page", Fault::Status, page, true, 404);
        row("300, leading nowhere", Fault::Status, page, true, 300);
        row("399", Fault::Status, page, true, 399);
        row("redirect loop", Fault::RedirectLoop, page, true);
        row("body over the size cap", Fault::None, page.repeated(1300), true);
        row("over the cap, no length", Fault::Http10, page.repeated(1300), true);
        row("empty body", Fault::Empty, page, true);
        row("chunked", Fault::Chunked, page, false);
        row("HTTP/1.0 without length", Fault::Http10, page, false);
        row("binary junk", Fault::None, junk, false, 0, "application/octet-stream", {});
        row("invalid UTF-8 declared UTF-8", Fault::None, page, false, 0,
            "text/html; charset=utf-8");
        row("NUL bytes", Fault::None, QByteArray(page).replace('\r', '\0'), false);
    }
    void afterAGoodRefresh() {
        QFETCH(int, fault);
        QFETCH(int, status);
        QFETCH(QByteArray, page);
        QFETCH(QByteArray, contentType);
        QFETCH(bool, errorBox);
        QFETCH(QString, date);
        Program app;
        app::frmMain& window = app.window;
        window.Inet1().setRequestTimeout(std::chrono::milliseconds(500));
        sampleserver::SampleServer server({samplePage()});
        QVERIFY(server.listen());
        app.fetchFrom(server);
        window.btnRefresh_Click();
        QCOMPARE(window.lblUSD->text(), QStringLiteral(" 1.671 ЛВ"));

        server.config() = {page, contentType, static_cast<Fault>(fault), status};
        if (QTest::currentDataTag() == QLatin1String("refused"))
            server.refuse();
        window.btnRefresh_Click();

        QVERIFY(window.btnRefresh->isEnabled());
        if (errorBox) {
            QCOMPARE(app.toolkit.messages,
                     QStringList("Грешка|Нямя връзка с интернет\r\nили сайта на ЗВТ е недостъпен"));
            QCOMPARE(window.lblUSD->text(), QStringLiteral(" 1.671 ЛВ"));
            QCOMPARE(window.FG->TextMatrix(26, 1), QStringLiteral("USD"));
        } else {
            QVERIFY(app.toolkit.messages.isEmpty());
        }
        if (date.isNull())
            QVERIFY(window.lblDate2->text() != QStringLiteral("05.12.2026"));
        else
            QCOMPARE(window.lblDate2->text(), date);
    }
};

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
