// The rate grid on its own: headers and widths from its format string, what a cell shows and
// what it keeps, copying a range, and a grid wider than the screen.
#include "platform/widgets/flexgrid.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

using platform::FlexGrid;

namespace {

QFont gridFont(double points = 9) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(points);
    return font;
}

// A grid in its font, as the main window makes it: the font is what fits the columns.
struct Grid {
    explicit Grid(int rows = 4, int cols = 3,
                  const QString& format = QStringLiteral("<Currency name|<Code|>Rate  "))
        : grid(rows, cols, format) {
        grid.setFont(gridFont());
    }
    void fill(const QList<QStringList>& rows) {
        for (int row = 0; row < rows.size(); ++row)
            for (int col = 0; col < rows.at(row).size(); ++col)
                grid.setTextMatrix(row + 1, col, rows.at(row).at(col));
    }
    int textWidth(const QString& text) const { return grid.fontMetrics().horizontalAdvance(text); }
    FlexGrid grid;
};

QString copied(FlexGrid& grid) {
    QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);
    return QGuiApplication::clipboard()->text();
}

} // namespace

class TestFlexGrid : public QObject {
    Q_OBJECT
private slots:
    // Each segment names its column's header after an alignment mark; its trailing spaces
    // belong to the header and widen the column before any cell has a value.
    void formatString_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QStringList>("headers");
        QTest::addColumn<QList<int>>("alignments");
        const int left = Qt::AlignLeft | Qt::AlignVCenter;
        const int centre = Qt::AlignHCenter | Qt::AlignVCenter;
        const int right = Qt::AlignRight | Qt::AlignVCenter;
        QTest::newRow("each mark")
            << "<Име    |^Код|>Курс   " << QStringList{"Име    ", "Код", "Курс   "}
            << QList<int>{left, centre, right};
        QTest::newRow("no mark is left") << "Име|<Код|Курс  " << QStringList{"Име", "Код", "Курс  "}
                                         << QList<int>{left, left, left};
        QTest::newRow("only the first mark is one")
            << "<<a|>^b|^>c" << QStringList{"<a", "^b", ">c"} << QList<int>{left, right, centre};
        QTest::newRow("segments past the last column are left out")
            << "<a|<b|<c|<d" << QStringList{"a", "b", "c"} << QList<int>{left, left, left};
    }
    void formatString() {
        QFETCH(QString, format);
        QFETCH(QStringList, headers);
        QFETCH(QList<int>, alignments);
        Grid g(4, 3, format);
        for (int col = 0; col < 3; ++col) {
            QCOMPARE(g.grid.TextMatrix(0, col), headers.at(col));
            QCOMPARE(g.grid.horizontalHeaderItem(col)->textAlignment(), alignments.at(col));
            QVERIFY2(g.grid.columnWidth(col) > g.textWidth(headers.at(col)),
                     qPrintable(headers.at(col)));
        }
    }

    // A format string of fewer segments leaves the other columns without a header.
    void columnsWithoutAHeader() {
        Grid g(3, 3, QStringLiteral("<Name"));
        QCOMPARE(g.grid.TextMatrix(0, 1), QString());
        g.grid.setTextMatrix(0, 2, QStringLiteral("ignored"));
        QCOMPARE(g.grid.TextMatrix(0, 2), QString());
        g.grid.setTextMatrix(2, 2, QStringLiteral("value"));
        g.grid.fitColumns(QWIDGETSIZE_MAX);
        QCOMPARE(g.grid.columnWidth(1), 0);
        QVERIFY(g.grid.columnWidth(2) > g.textWidth(QStringLiteral("value")));
    }

    // Columns fit their widest cell, afresh each time: shorter values shrink them again, down
    // to the header's width and no further.
    void columnsFitTheirWidestCell() {
        Grid g;
        const int headerWidth = g.grid.columnWidth(0);
        const QString longName(40, u'ш');
        g.fill({{QStringLiteral("Лев")}, {longName}});
        g.grid.fitColumns(QWIDGETSIZE_MAX);
        QVERIFY(g.grid.columnWidth(0) > g.textWidth(longName));
        g.grid.setTextMatrix(2, 0, QStringLiteral("Евро"));
        g.grid.fitColumns(QWIDGETSIZE_MAX);
        QCOMPARE(g.grid.columnWidth(0), headerWidth);
    }

    // A new font measures every header and cell again, and the rows take its height.
    void aNewFontMeasuresAgain() {
        Grid g;
        g.fill({{QString(20, u'ш'), QStringLiteral("USD"), QStringLiteral("1.67142")}});
        g.grid.fitColumns(QWIDGETSIZE_MAX);
        QList<int> small;
        for (int col = 0; col < 3; ++col)
            small << g.grid.columnWidth(col);
        const int smallRow = g.grid.rowHeight(0);
        QVERIFY(smallRow >= g.grid.fontMetrics().height());
        g.grid.setFont(gridFont(18));
        for (int col = 0; col < 3; ++col)
            QVERIFY2(g.grid.columnWidth(col) > small.at(col), qPrintable(QString::number(col)));
        QVERIFY(g.grid.rowHeight(0) >= g.grid.fontMetrics().height());
        QVERIFY(g.grid.rowHeight(0) > smallRow);
        g.grid.setFont(gridFont());
        for (int col = 0; col < 3; ++col)
            QCOMPARE(g.grid.columnWidth(col), small.at(col));
    }

    // A cell shows its text on one line; the text as given reads back until it is replaced,
    // whatever replaces it.
    void whatACellShowsAndKeeps_data() {
        QTest::addColumn<QStringList>("texts"); // set one after another
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << QStringList{"1.95583"} << "1.95583";
        QTest::newRow("line breaks and tabs") << QStringList{"a\r\nb\tc"} << "a  b c";
        QTest::newRow("the same text again") << QStringList{"a\nb", "a\nb"} << "a b";
        QTest::newRow("its one-line form replaces it") << QStringList{"a\nb", "a b"} << "a b";
        QTest::newRow("a plain text replaces it") << QStringList{"a\nb", "c"} << "c";
        QTest::newRow("a raw text replaces a plain one") << QStringList{"c", "a\tb"} << "a b";
        QTest::newRow("emptied") << QStringList{"a\nb", ""} << "";
    }
    void whatACellShowsAndKeeps() {
        QFETCH(QStringList, texts);
        QFETCH(QString, shown);
        Grid g;
        for (const QString& text : texts)
            g.grid.setTextMatrix(2, 1, text);
        QCOMPARE(g.grid.item(1, 1)->text(), shown);
        QCOMPARE(g.grid.TextMatrix(2, 1), texts.constLast());
    }

    // Ctrl+C copies the selected range as the cells show it, trimmed, one line per row and a
    // tab between columns, so a spreadsheet pastes it as a table.
    void copyARange_data() {
        QTest::addColumn<QTableWidgetSelectionRange>("range");
        QTest::addColumn<QString>("text");
        QTest::newRow("one cell") << QTableWidgetSelectionRange(0, 1, 0, 1) << "AUD\n";
        QTest::newRow("a row") << QTableWidgetSelectionRange(1, 0, 1, 2)
                               << "Канадски долар\tCAD\t1.20117\n";
        QTest::newRow("a block") << QTableWidgetSelectionRange(0, 1, 1, 2)
                                 << "AUD\t1.10342\nCAD\t1.20117\n";
        QTest::newRow("padding trimmed") << QTableWidgetSelectionRange(2, 1, 2, 2) << "CHF\t2.1\n";
        QTest::newRow("cells never set are empty fields, rows all empty are left out")
            << QTableWidgetSelectionRange(2, 0, 3, 1) << "\tCHF\n";
        QTest::newRow("a tab or line break in a value splits nothing")
            << QTableWidgetSelectionRange(3, 2, 3, 2) << "1 2  3\n";
    }
    void copyARange() {
        QFETCH(QTableWidgetSelectionRange, range);
        Grid g(6, 3);
        g.fill(
            {{QStringLiteral("Австралийски долар"), QStringLiteral("AUD"),
              QStringLiteral("1.10342")},
             {QStringLiteral("Канадски долар"), QStringLiteral("CAD"), QStringLiteral("1.20117")},
             {QString(), QStringLiteral("  CHF "), QStringLiteral(" 2.1")},
             {QString(), QString(), QStringLiteral("1\t2\r\n3")}});
        g.grid.setRangeSelected(range, true);
        QTEST(copied(g.grid), "text");
    }

    // The range is taken with Shift and the arrows or a Shift+click; a Ctrl+click makes the one
    // range larger, never a second range. With nothing selected the clipboard keeps its text.
    void selectAndCopy() {
        Grid g(4, 3);
        g.fill({{"a", "b", "c"}, {"d", "e", "f"}, {"g", "h", "i"}});
        g.grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g.grid));
        g.grid.setFocus();

        QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
        g.grid.clearSelection();
        QCOMPARE(copied(g.grid), QStringLiteral("kept"));

        g.grid.setCurrentCell(0, 0);
        QTest::keyClick(&g.grid, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(&g.grid, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(copied(g.grid), QStringLiteral("a\tb\nd\te\n"));

        const auto centre = [&](int row, int col) {
            return g.grid.visualItemRect(g.grid.item(row, col)).center();
        };
        QTest::mouseClick(g.grid.viewport(), Qt::LeftButton, {}, centre(1, 1));
        QTest::mouseClick(g.grid.viewport(), Qt::LeftButton, Qt::ShiftModifier, centre(2, 2));
        QCOMPARE(copied(g.grid), QStringLiteral("e\tf\nh\ti\n"));

        QTest::mouseClick(g.grid.viewport(), Qt::LeftButton, {}, centre(0, 0));
        QTest::mouseClick(g.grid.viewport(), Qt::LeftButton, Qt::ControlModifier, centre(2, 2));
        QCOMPARE(g.grid.selectedRanges().size(), 1);
        QCOMPARE(copied(g.grid), QStringLiteral("a\tb\tc\nd\te\tf\ng\th\ti\n"));
    }

    // Where the columns need more than the screen, each is held to the limit the window sets
    // (its text stays whole in the cell) and the grid scrolls sideways; at its fitting width it
    // shows every column whole beside a vertical scroll bar.
    void widerThanTheScreen() {
        Grid g(30, 3);
        const int screenWidth = g.grid.screen()->availableGeometry().width();
        const int limit = screenWidth - g.grid.chromeWidth();
        const QString huge(1100, u'д');
        g.fill({{huge, QStringLiteral("USD"), QStringLiteral("1.67142")}});
        g.grid.fitColumns(limit);
        QCOMPARE(g.grid.columnWidth(0), limit);
        QCOMPARE(g.grid.TextMatrix(1, 0), huge);
        QCOMPARE(g.grid.item(0, 0)->text(), huge);
        g.grid.resize(screenWidth, 200);
        g.grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g.grid));
        QScrollBar* sideways = g.grid.horizontalScrollBar();
        QVERIFY(g.grid.verticalScrollBar()->isVisible());
        QVERIFY(sideways->maximum() > 0);
        g.grid.scrollToItem(g.grid.item(0, 2));
        QCOMPARE(sideways->value(), sideways->maximum());
        QVERIFY(g.grid.viewport()->rect().contains(g.grid.visualItemRect(g.grid.item(0, 2))));

        g.grid.setTextMatrix(1, 0, QStringLiteral("Щатски долар"));
        g.grid.fitColumns(limit);
        QVERIFY(g.grid.columnWidth(0) < limit);
        g.grid.resize(g.grid.fittingWidth(), 200);
        QTest::qWait(0);
        QCOMPARE(sideways->maximum(), 0);
        g.grid.resize(g.grid.fittingWidth() - 1, 200);
        QTest::qWait(0);
        QVERIFY(sideways->maximum() > 0);
    }
};

QTEST_MAIN(TestFlexGrid)
#include "tst_flexgrid.moc"
