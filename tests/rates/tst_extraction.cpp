// From the page's bytes to the screen: the text decoded, split into runs, the runs put on
// screen by their positions, the rates read as numbers and the dollar's caption.
#include "rates/decodepage.h"
#include "rates/numread.h"
#include "rates/parsepage.h"
#include "rates/printinfo.h"
#include "rates/usdcaption.h"
#include "scratch.h"
#include "standins.h"

#include <QTest>
#include <clocale>
#include <limits>

namespace {

// The cells up to the last one filled: the runs, packed from cell 0.
QStringList runsOf(const QString& page) {
    rates::Cells cells;
    cells.fill(QStringLiteral("stale"));
    rates::parsepage(page, cells);
    QStringList runs(cells.begin(), cells.end());
    while (!runs.isEmpty() && runs.constLast().isEmpty())
        runs.removeLast();
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
    void decoding_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("contentType");
        // Written out, not encoded here: Qt on Windows has no windows-1251 encoder of its own.
        const QByteArray win("\xD9\xE0\xF2\xF1\xEA\xE8 \xE4\xEE\xEB\xE0\xF0, \xEB\xE5\xE2");
        const QByteArray koi8("\xFD\xC1\xD4\xD3\xCB\xC9 \xC4\xCF\xCC\xC1\xD2, \xCC\xC5\xD7");
        const QByteArray utf8 = QStringLiteral("Щатски долар, лев").toUtf8();
        const QByteArray meta =
            R"(<meta http-equiv="Content-Type" content="text/html; charset=windows-1251">)";
        QTest::newRow("header") << win << QByteArray(R"(text/html; Charset="WINDOWS-1251")");
        QTest::newRow("meta") << meta + win << QByteArray("text/html");
        QTest::newRow("another Cyrillic charset, capitalised and quoted")
            << koi8 << QByteArray(R"(text/html; Charset="koi8-r")");
        QTest::newRow("meta after 1024 bytes")
            << QByteArray(3000, ' ') + meta + win << QByteArray();
        // KOI8-R is not what a page naming no charset is taken to be.
        QTest::newRow("meta naming another Cyrillic charset")
            << R"(<meta charset="KOI8-R">)" + koi8 << QByteArray();
        QTest::newRow("header wins over meta")
            << "<meta charset=windows-1251>" + utf8 << QByteArray("text/html; charset=utf-8");
        QTest::newRow("undeclared UTF-8") << utf8 << QByteArray();
        QTest::newRow("undeclared, not UTF-8") << win << QByteArray();
        QTest::newRow("byte order mark")
            << "\xEF\xBB\xBF" + utf8 << QByteArray("text/html; charset=windows-1251");
    }
    void decoding() {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, contentType);
        QVERIFY(rates::decodepage(body, contentType).endsWith(QStringLiteral("Щатски долар, лев")));
    }

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
        QCOMPARE(shown.grid.TextMatrix(28, 0), QStringLiteral("Злато (1 тройунция)"));
        QCOMPARE(shown.usd.caption, QStringLiteral(" 1.671 ЛВ"));
        QCOMPARE(shown.grid.cells.size(), 28 * 6); // rows 1 to 28 only: not the header, not 29
        QCOMPARE(shown.grid.cells.firstKey(), qMakePair(1, 0));
    }

    // The dollar's rate comes from the row whose code is USD when a row above it was added;
    // with no such row, from row 26, the dollar's place.
    void dollarRateFollowsItsRow_data() {
        QTest::addColumn<QString>("page");
        const QString page = rates::decodepage(samplePage(), {});
        const QString firstRow = QStringLiteral("<tr><td align=\"left\">");
        QString extra = page;
        extra.insert(extra.indexOf(firstRow),
                     QStringLiteral("<tr><td>Нова</td><td>NEW</td><td>1</td>"
                                    "<td>9.5</td><td>1</td><td>1</td></tr>"));
        QTest::newRow("a row more above the dollar") << extra;
        QString noDollar = page;
        noDollar.replace(QStringLiteral(">USD<"), QStringLiteral(">USX<"));
        QTest::newRow("no row is the dollar's: row 26 read") << noDollar;
    }
    void dollarRateFollowsItsRow() {
        QFETCH(QString, page);
        QCOMPARE(Shown(page).usd.caption, QStringLiteral(" 1.671 ЛВ"));
    }
    void readNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        const double inf = std::numeric_limits<double>::infinity();
        const std::initializer_list<std::pair<const char*, double>> rows{
            {"1.95583", 1.95583}, {"1 2\t3\n4", 1234}, {"\r\n1.5\r\n", 1.5},
            {"1,95583", 1},       {"1.2.3", 1.2},      {"", 0},
            {"USD 1.5", 0},       {"- 5", -5},         {"--5", 0},
            {".5", 0.5},          {"1.5E3", 1500},     {"25e-1", 2.5},
            {"&H10", 0},          {"3128abc", 3128},   {"1e9999", inf}};
        for (const auto& [text, number] : rows)
            QTest::newRow(*text != 0 ? text : "empty") << QString::fromUtf8(text) << number;
    }
    void readNumber() {
        QFETCH(QString, text);
        QFETCH(double, number);
        QCOMPARE(rates::readNumber(text), number);
    }

    void usdCaption_data() {
        QTest::addColumn<double>("rate");
        QTest::addColumn<QString>("caption");
        QTest::newRow("rounded to three") << 1.95583 << " 1.956 ЛВ";
        QTest::newRow("whole") << 2.0 << " 2 ЛВ";
        QTest::newRow("tie to even") << 0.0625 << " 0.062 ЛВ";
        QTest::newRow("negative") << -1.23456 << "-1.235 ЛВ";
        QTest::newRow("tiny negative is zero") << -0.0004 << " 0 ЛВ";
        QTest::newRow("exponent form") << 1e15 << " 1E+15 ЛВ";
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << " 0 ЛВ";
    }
    void usdCaption() {
        QFETCH(double, rate);
        QFETCH(QString, caption);
        QCOMPARE(rates::usdCaption(rate), caption);
    }

    void theLocaleChangesNothing() {
        // Bulgarian writes a decimal comma; the names are Linux's and Windows'.
        if (std::setlocale(LC_ALL, "bg_BG.UTF-8") == nullptr &&
            std::setlocale(LC_ALL, "Bulgarian_Bulgaria.1251") == nullptr)
            QSKIP("no Bulgarian locale on this system (./dev test generates bg_BG.UTF-8)");
        QCOMPARE(*std::localeconv()->decimal_point, ',');
        QLocale::setDefault(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
        QCOMPARE(rates::readNumber(u"1.25"), 1.25);
        QCOMPARE(rates::usdCaption(1.25), QStringLiteral(" 1.25 ЛВ"));
    }
};

QTEST_APPLESS_MAIN(TestExtraction)
#include "tst_extraction.moc"
