// Splitting a page into text runs and putting the runs on screen by their positions.
#include "rates/decodepage.h"
#include "rates/parsepage.h"
#include "rates/printinfo.h"
#include "scratch.h"
#include "standins.h"

#include <QTest>

namespace {

// The non-empty cells, which must also be packed from cell 0.
QStringList runsOf(const QString& page) {
    rates::Cells cells;
    cells.fill(QStringLiteral("stale"));
    rates::parsepage(page, cells);
    QStringList runs;
    for (const QString& cell : cells) {
        if (!cell.isEmpty())
            runs << cell;
    }
    for (int i = 0; i < runs.size(); ++i) {
        if (cells.at(i) != runs.at(i))
            runs << QStringLiteral("(an empty cell before a full one)");
    }
    return runs;
}

struct Shown {
    FakeGrid grid;
    FakeCaption date;
    FakeCaption usd;
    explicit Shown(const QString& page) {
        rates::Cells cells;
        rates::parsepage(page, cells);
        rates::printinfo(cells, grid, date, usd);
    }
};

} // namespace

class TestExtraction : public QObject {
    Q_OBJECT
private slots:
    void runs_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("runs");
        QTest::newRow("worked example")
            << "Курсове\r\n<table>\r\n<tr><td>Дата:</td><td> 05.12.2026</td></tr>a > b</td></table>"
            << QStringList{"Курсове\r\n", "\r\n", "Дата:", " 05.12.2026", "a ", " b"};
        QTest::newRow("white space between tags takes a cell")
            << "<a> <b>\t<c>\r\n</c>x" << QStringList{" ", "\t", "\r\n", "x"};
        QTest::newRow("entities kept") << "<p>&amp;Лв&nbsp;</p>" << QStringList{"&amp;Лв&nbsp;"};
        QTest::newRow("comment ends at its first >")
            << "<!-- a > b -->c" << QStringList{" b --", "c"};
        QTest::newRow("< in running text starts a tag")
            << "1 < 2 and 3 > 2" << QStringList{"1 ", " 2"};
        QTest::newRow("no tags") << "Курс 1.95583\r\nлв" << QStringList{"Курс 1.95583\r\nлв"};
        QTest::newRow("only tags") << "<html><body></body></html>" << QStringList{};
        QTest::newRow("unclosed tag at the end") << "x<b" << QStringList{"x"};
    }
    void runs() {
        QFETCH(QString, page);
        QFETCH(QStringList, runs);
        QCOMPARE(runsOf(page), runs);
    }

    void anyLengthAndRunCount() {
        const QString filler(70000, u'x'); // past what a 16-bit position could reach
        QCOMPARE(runsOf(filler + QStringLiteral("<b>край</b>")), QStringList({filler, "край"}));
        QString many;
        for (int i = 0; i < 400; ++i)
            many += QStringLiteral("<td>r%1</td>").arg(i);
        const QStringList runs = runsOf(many);
        QCOMPARE(runs.size(), rates::CellCount);
        QCOMPARE(runs.last(), QStringLiteral("r300"));
    }

    void samplePageLandsInTheGrid() {
        const Shown shown(rates::decodepage(samplePage(), {}));
        QCOMPARE(shown.date.caption, QStringLiteral("05.12.2026"));
        QCOMPARE(shown.grid.TextMatrix(1, 0), QStringLiteral("Австралийски долар"));
        QCOMPARE(shown.grid.TextMatrix(26, 1), QStringLiteral("USD"));
        QCOMPARE(shown.grid.TextMatrix(28, 0), QStringLiteral("Злато (1 тройунция)"));
        QCOMPARE(shown.usd.caption, QStringLiteral(" 1.671 ЛВ"));
        QCOMPARE(shown.grid.cells.size(), 28 * 6); // rows 1 to 28 only: not the header, not 29
        QCOMPARE(shown.grid.cells.firstKey(), qMakePair(1, 0));
        QCOMPARE(shown.grid.cells.lastKey(), qMakePair(28, 5));
    }

    // The dollar's rate comes from the row whose code is USD when a row above it was added or
    // removed; with no such row, from row 26, the dollar's place.
    void dollarRateFollowsItsRow_data() {
        QTest::addColumn<QString>("page");
        const QString page = rates::decodepage(samplePage(), {});
        const QString firstRow = QStringLiteral("<tr><td align=\"left\">");
        QString extra = page;
        extra.insert(extra.indexOf(firstRow),
                     QStringLiteral("<tr><td>Нова</td><td>NEW</td><td>1</td>"
                                    "<td>9.5</td><td>1</td><td>1</td></tr>"));
        QTest::newRow("a row more above the dollar") << extra;
        QString fewer = page;
        const qsizetype first = fewer.indexOf(firstRow);
        fewer.remove(first, fewer.indexOf(firstRow, first + 1) - first);
        QTest::newRow("a row less above the dollar") << fewer;
        QString noDollar = page;
        noDollar.replace(QStringLiteral(">USD<"), QStringLiteral(">USX<"));
        QTest::newRow("no row is the dollar's: row 26 read") << noDollar;
    }
    void dollarRateFollowsItsRow() {
        QFETCH(QString, page);
        QCOMPARE(Shown(page).usd.caption, QStringLiteral(" 1.671 ЛВ"));
    }
};

QTEST_APPLESS_MAIN(TestExtraction)
#include "tst_extraction.moc"
