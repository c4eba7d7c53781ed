// The rate grid on its own: headers and widths from its format string, what a cell shows and
// keeps, and copying a range. (Wider than the screen, in the main window: tst_mainlayout.)
#include "platform/widgets/flexgrid.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

using platform::FlexGrid;

namespace {

// A grid in its font, as the main window makes it: the font is what fits the columns.
struct Grid {
    explicit Grid(int rows = 4,
                  const QString& format = QStringLiteral("<Currency name|<Code|>Rate  "))
        : grid(rows, 3, format) {
        grid.setFont(font(9));
    }
    static QFont font(double points) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSizeF(points);
        return font;
    }
    void fill(const QList<QStringList>& rows) {
        for (int row = 0; row < rows.size(); ++row)
            for (int col = 0; col < rows.at(row).size(); ++col)
                grid.setTextMatrix(row + 1, col, rows.at(row).at(col));
    }
    int textWidth(const QString& text) const { return grid.fontMetrics().horizontalAdvance(text); }
    FlexGrid grid;
};

} // namespace

class TestFlexGrid : public QObject {
    Q_OBJECT
private slots:
    // Each segment names its column's header after an alignment mark; its trailing spaces
    // belong to the header and widen the column before any cell has a value.
    void formatStringGivesHeadersAndAlignments() {
        const QStringList headers{"Име    ", "Код", "Курс   "};
        const Grid g(4, "<" + headers.at(0) + "|^" + headers.at(1) + "|>" + headers.at(2));
        const QList<int> alignments{Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
        for (int col = 0; col < 3; ++col) {
            QCOMPARE(g.grid.TextMatrix(0, col), headers.at(col));
            QCOMPARE(g.grid.horizontalHeaderItem(col)->textAlignment(),
                     alignments.at(col) | Qt::AlignVCenter);
            QVERIFY(g.grid.columnWidth(col) > g.textWidth(headers.at(col)));
        }
    }

    // Columns fit their widest cell, afresh each time: shorter values shrink them again, down
    // to the header's width and no further; a new font measures everything again.
    void columnsFitTheirWidestCell() {
        Grid g;
        const int headerWidth = g.grid.columnWidth(0);
        const QString longName(40, u'ш');
        g.fill({{QStringLiteral("Лев")}, {longName}});
        g.grid.fitColumns(QWIDGETSIZE_MAX);
        const int fitted = g.grid.columnWidth(0);
        QVERIFY(fitted > g.textWidth(longName));
        g.grid.setFont(Grid::font(18));
        QVERIFY(g.grid.columnWidth(0) > fitted);
        g.grid.setFont(Grid::font(9));
        QCOMPARE(g.grid.columnWidth(0), fitted);
        g.grid.setTextMatrix(2, 0, QStringLiteral("Евро"));
        g.grid.fitColumns(QWIDGETSIZE_MAX);
        QCOMPARE(g.grid.columnWidth(0), headerWidth);
    }

    // A cell shows its text on one line; the text as given reads back until it is replaced,
    // whatever replaces it.
    void whatACellShowsAndKeeps_data() {
        QTest::addColumn<QStringList>("texts"); // set one after another
        QTest::addColumn<QString>("shown");
        QTest::newRow("line breaks and tabs") << QStringList{"a\r\nb\tc"} << "a  b c";
        QTest::newRow("its one-line form replaces it") << QStringList{"a\nb", "a b"} << "a b";
        QTest::newRow("a plain text replaces it") << QStringList{"a\nb", "c"} << "c";
        QTest::newRow("a raw text replaces a plain one") << QStringList{"c", "a\tb"} << "a b";
    }
    void whatACellShowsAndKeeps() {
        QFETCH(QStringList, texts);
        Grid g;
        for (const QString& text : texts)
            g.grid.setTextMatrix(2, 1, text);
        QTEST(g.grid.item(1, 1)->text(), "shown");
        QCOMPARE(g.grid.TextMatrix(2, 1), texts.constLast());
    }

    // Ctrl+C copies the selected range as the cells show it, trimmed, one line per row and a
    // tab between columns, so a spreadsheet pastes it as a table; with nothing selected the
    // clipboard keeps what it had.
    void copyARange_data() {
        QTest::addColumn<QTableWidgetSelectionRange>("range");
        QTest::addColumn<QString>("text");
        QTest::newRow("nothing selected") << QTableWidgetSelectionRange() << "kept";
        QTest::newRow("a row") << QTableWidgetSelectionRange(1, 0, 1, 2)
                               << "Канадски долар\tCAD\t1.20117\n";
        QTest::newRow("a block") << QTableWidgetSelectionRange(0, 1, 1, 2)
                                 << "AUD\t1.10342\nCAD\t1.20117\n";
        QTest::newRow("cells never set are empty fields, rows all empty are left out")
            << QTableWidgetSelectionRange(2, 0, 4, 1) << "\tCHF\n";
        QTest::newRow("a tab or line break in a value splits nothing")
            << QTableWidgetSelectionRange(3, 2, 3, 2) << "1 2  3\n";
    }
    void copyARange() {
        QFETCH(QTableWidgetSelectionRange, range);
        Grid g(6);
        g.fill(
            {{QStringLiteral("Австралийски долар"), QStringLiteral("AUD"),
              QStringLiteral("1.10342")},
             {QStringLiteral("Канадски долар"), QStringLiteral("CAD"), QStringLiteral("1.20117")},
             {QString(), QStringLiteral("  CHF "), QStringLiteral(" 2.1")},
             {QString(), QString(), QStringLiteral("1\t2\r\n3")}});
        QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
        g.grid.setRangeSelected(range, true);
        QTest::keyClick(&g.grid, Qt::Key_C, Qt::ControlModifier);
        QTEST(QGuiApplication::clipboard()->text(), "text");
    }
};

QTEST_MAIN(TestFlexGrid)
#include "tst_flexgrid.moc"
