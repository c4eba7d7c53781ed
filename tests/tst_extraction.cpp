// Splitting a page into text runs and putting the runs on screen by their positions.
#include "fakegrid.h"
#include "pagefile.h"
#include "rates/decodepage.h"
#include "rates/parsepage.h"
#include "rates/printinfo.h"

#include <QTest>

using rates::Cells;

namespace {

Cells parsed(const QString& page) {
    Cells cells;
    cells.fill(QStringLiteral("stale"));
    rates::parsepage(page, cells);
    return cells;
}

QStringList nonEmpty(const Cells& cells) {
    QStringList runs;
    for (const QString& cell : cells) {
        if (!cell.isEmpty())
            runs << cell;
    }
    return runs;
}

} // namespace

class TestExtraction : public QObject {
    Q_OBJECT
private slots:
    void workedExample() {
        const QString page =
            QStringLiteral("Курсове\r\n<table>\r\n<tr><td>Дата:</td><td> 05.12.2026"
                           "</td></tr>a > b</td></table>");
        const Cells cells = parsed(page);
        const QStringList expected{QStringLiteral("Курсове\r\n"),
                                   "\r\n",
                                   QStringLiteral("Дата:"),
                                   " 05.12.2026",
                                   "a ",
                                   " b"};
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(cells.at(i), expected.at(i));
        for (int i = expected.size(); i < rates::CellCount; ++i)
            QVERIFY2(cells.at(i).isEmpty(), qPrintable(QString::number(i)));
    }

    void runs_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("runs");
        QTest::newRow("adjacent tags use no cell") << "<a><b><c>x</c></b></a>" << QStringList{"x"};
        QTest::newRow("white space between tags takes a cell")
            << "<a> <b>\t<c>\r\n</c>x" << QStringList{" ", "\t", "\r\n", "x"};
        QTest::newRow("entities and case kept")
            << "<p>&amp;Лв&nbsp;</p>" << QStringList{"&amp;Лв&nbsp;"};
        QTest::newRow("comment ends at its first >")
            << "<!-- a > b -->c" << QStringList{" b --", "c"};
        QTest::newRow("< in running text starts a tag")
            << "1 < 2 and 3 > 2" << QStringList{"1 ", " 2"};
        QTest::newRow("script text up to its first <")
            << "<script>if (a) b();</script>" << QStringList{"if (a) b();"};
        QTest::newRow("no tags: all in cell 0")
            << "Курс 1.95583\r\nлв" << QStringList{"Курс 1.95583\r\nлв"};
        QTest::newRow("only tags") << "<html><body></body></html>" << QStringList{};
        QTest::newRow("unclosed tag at the end") << "x<b" << QStringList{"x"};
        QTest::newRow("empty page") << "" << QStringList{};
    }
    void runs() {
        QFETCH(QString, page);
        QFETCH(QStringList, runs);
        const Cells cells = parsed(page);
        QCOMPARE(nonEmpty(cells), runs);
        for (int i = 0; i < runs.size(); ++i)
            QCOMPARE(cells.at(i), runs.at(i)); // and they are packed from cell 0
    }

    void runsBeyondTheLastCellAreIgnored() {
        QString page;
        for (int i = 0; i < 400; ++i)
            page += QStringLiteral("<td>r%1</td>").arg(i);
        const Cells cells = parsed(page);
        QCOMPARE(cells.at(0), QStringLiteral("r0"));
        QCOMPARE(cells.at(300), QStringLiteral("r300"));
        QCOMPARE(nonEmpty(cells).size(), rates::CellCount);
    }

    void longPageIsReadToTheEnd() {
        // Far past what a 16-bit position could reach.
        const QString filler(70000, u'x');
        const Cells cells = parsed(filler + QStringLiteral("<b>край</b>"));
        QCOMPARE(cells.at(0).size(), filler.size());
        QCOMPARE(cells.at(1), QStringLiteral("край"));
    }

    void samplePageLandsInTheGrid() {
        const Cells cells = parsed(rates::decodepage(samplePage(), {}));
        FakeGrid grid;
        FakeCaption date;
        FakeCaption usd;
        rates::printinfo(cells, grid, date, usd);
        QCOMPARE(date.caption, QStringLiteral("05.12.2026"));
        QCOMPARE(grid.TextMatrix(1, 0), QStringLiteral("Австралийски долар"));
        QCOMPARE(grid.TextMatrix(1, 1), QStringLiteral("AUD"));
        QCOMPARE(grid.TextMatrix(26, 1), QStringLiteral("USD"));
        QCOMPARE(grid.TextMatrix(28, 0), QStringLiteral("Злато (1 тройунция)"));
        QCOMPARE(usd.caption, QStringLiteral(" 1.671 ЛВ"));
        QVERIFY(!grid.cells.contains({0, 0})); // the header row is never written
        QVERIFY(!grid.cells.contains({29, 0}));
        QCOMPARE(grid.cells.size(), 28 * 6);
    }

    void pageWithoutTagsEmptiesTheDisplay() {
        const Cells cells = parsed(QStringLiteral("no mark-up at all"));
        FakeGrid grid;
        grid.setTextMatrix(26, 3, QStringLiteral("1.95583"));
        FakeCaption date;
        FakeCaption usd;
        rates::printinfo(cells, grid, date, usd);
        QCOMPARE(date.caption, QString());
        QCOMPARE(grid.TextMatrix(26, 3), QString());
        QCOMPARE(usd.caption, QStringLiteral(" 0 ЛВ"));
    }

    void dateKeepsItsWhiteSpace() {
        Cells cells;
        cells[18] = QStringLiteral("\r\n 05.12.2026\t");
        FakeGrid grid;
        FakeCaption date;
        FakeCaption usd;
        rates::printinfo(cells, grid, date, usd);
        QCOMPARE(date.caption, cells[18]);
    }
};

QTEST_APPLESS_MAIN(TestExtraction)
#include "tst_extraction.moc"
