// What a person sees when the network or the site misbehaves: after a good refresh, each fault
// either brings the one error message with the earlier rates still on screen, or shows the page
// as far as it goes - and never crashes.
#include "app/frmMain.h"
#include "faketoolkit.h"
#include "pagefile.h"
#include "platform/flexgrid.h"
#include "rates/address.h"
#include "tools/sampleserver/sampleserver.h"
#include "windowkit.h"
#include "workdir.h"

#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>

using sampleserver::Fault;
using sampleserver::SampleServer;

namespace {

QByteArray junk(qsizetype size) {
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(42); // the same junk every run
    for (char& byte : bytes)
        byte = static_cast<char>(generator.bounded(256));
    return bytes;
}

} // namespace

class TestFaults : public QObject {
    Q_OBJECT
private slots:
    void afterAGoodRefresh_data() {
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<bool>("errorBox");
        const QByteArray page = samplePage();
        const QByteArray cp1251 = "text/html; charset=windows-1251";
        const auto row = [&](const char* name, Fault fault, int status, const QByteArray& body,
                             const QByteArray& type, bool box) {
            QTest::newRow(name) << int(fault) << status << body << type << box;
        };
        row("refused", Fault::None, 0, page, cp1251, true);
        row("closed mid-body", Fault::CloseMidBody, 0, page, cp1251, true);
        row("accepts, then silence", Fault::Stall, 0, page, cp1251, true);
        row("500 with a page", Fault::Status, 500, page, cp1251, true);
        row("404 with a page", Fault::Status, 404, page, cp1251, true);
        row("redirect loop", Fault::RedirectLoop, 0, page, cp1251, true);
        row("body over the size cap", Fault::None, 0, page.repeated(1300), cp1251, true);
        row("empty body", Fault::Empty, 0, page, cp1251, true);
        row("chunked", Fault::Chunked, 0, page, cp1251, false);
        row("HTTP/1.0 without length", Fault::Http10, 0, page, cp1251, false);
        row("binary junk", Fault::None, 0, junk(20000), "application/octet-stream", false);
        row("invalid UTF-8 declared UTF-8", Fault::None, 0, page, "text/html; charset=utf-8",
            false);
        row("NUL bytes", Fault::None, 0, QByteArray(page).replace("\r\n", QByteArray("\0\n", 2)),
            cp1251, false);
    }
    void afterAGoodRefresh() {
        QFETCH(int, fault);
        QFETCH(int, status);
        QFETCH(QByteArray, page);
        QFETCH(QByteArray, contentType);
        QFETCH(bool, errorBox);
        ScratchDir dir;
        FakeToolkit toolkit;
        CountingShell shell;
        app::frmMain window(toolkit, shell);
        window.Form_Load();
        window.Inet1().setRequestTimeout(std::chrono::milliseconds(500));

        sampleserver::Config config;
        config.page = samplePage();
        SampleServer server(config);
        QVERIFY(server.listen());
        window.Inet1().setURL(
            QStringLiteral("http://127.0.0.1:%1%2").arg(server.port()).arg(rates::RatePath));
        window.btnRefresh_Click();
        QCOMPARE(window.lblUSD->text(), QStringLiteral(" 1.671 ЛВ"));

        server.config().fault = static_cast<Fault>(fault);
        server.config().status = status;
        server.config().page = page;
        server.config().contentType = contentType;
        if (QTest::currentDataTag() == QLatin1String("refused"))
            server.refuse();
        window.btnRefresh_Click();

        QCOMPARE(toolkit.messages.size(), errorBox ? 1 : 0);
        QVERIFY(window.btnRefresh->isEnabled());
        if (errorBox) {
            QCOMPARE(toolkit.messages.first(),
                     QStringLiteral("Грешка|Нямя връзка с интернет\r\nили сайта на ЗВТ е "
                                    "недостъпен"));
            QCOMPARE(window.lblDate2->text(), QStringLiteral("05.12.2026"));
            QCOMPARE(window.lblUSD->text(), QStringLiteral(" 1.671 ЛВ"));
            QCOMPARE(window.FG->TextMatrix(26, 1), QStringLiteral("USD"));
        } else {
            QVERIFY(!window.pagetext().isEmpty());
            QCOMPARE(window.lblDate2->text(), window.cells().at(18));
        }
    }
};

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
