// The grid's cells, drawn and measured with each text laid out once, must look and measure
// exactly as Qt's item style draws and measures them: same pixels, same widths.
#include "platform/widgets/celldelegate.h"

#include <QFontDatabase>
#include <QHeaderView>
#include <QImage>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTest>

using platform::CellDelegate;

namespace {

struct Table {
    Table() : table(3, 3), cells(3, 3, &table) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSizeF(9.75);
        table.setFont(font);
        table.setItemDelegate(&cells);
        table.resize(620, 140);
        table.verticalHeader()->hide();
        table.setWordWrap(false); // as the rate grid
    }
    void fill(const QString& text, int width) {
        const Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 3; ++col) {
                auto* item = new QTableWidgetItem(text);
                item->setTextAlignment(aligns[col] | Qt::AlignVCenter);
                table.setItem(row, col, item);
                cells.forget(row, col);
            }
        }
        for (int col = 0; col < 3; ++col)
            table.setColumnWidth(col, width);
    }
    [[nodiscard]] QStyleOptionViewItem option() const {
        QStyleOptionViewItem option;
        option.initFrom(&table);
        option.font = table.font();
        option.widget = &table;
        return option;
    }
    [[nodiscard]] QModelIndex first() const { return table.model()->index(0, 0); }
    QImage drawn(QAbstractItemDelegate* delegate) {
        table.setItemDelegate(delegate);
        return table.viewport()->grab().toImage();
    }
    QTableWidget table;
    CellDelegate cells;
};

} // namespace

class TestCellDelegate : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // Qt's offscreen plugin on Windows finds no fonts: nothing would be drawn to compare.
        if (QFontDatabase::families().isEmpty())
            QSKIP("no fonts here to draw with");
    }

    void looksAsTheStyleDrawsIt_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("spare"); // pixels beside the text's own width; < 0 cuts it
        QTest::newRow("rate") << "1.95583" << 30;
        QTest::newRow("rate, odd room to centre in") << "1,95583" << 31;
        QTest::newRow("Cyrillic name") << "Австралийски долар" << 20;
        QTest::newRow("letters that kern") << "AVATAR To Wa" << 17;
        QTest::newRow("exactly its width") << "Швейцарски франк" << 0;
        QTest::newRow("cut short") << "Специални права на тираж" << -40;
        QTest::newRow("trailing blanks") << "USD   " << 20;
        QTest::newRow("right to left") << "שקל חדש" << 20;
        QTest::newRow("mixed directions") << "ILS שקל" << 20;
        QTest::newRow("line separator") << QStringLiteral("a\u2028b") << 20;
        QTest::newRow("marks that combine") << QStringLiteral("e\u0301e\u0300") << 20;
        QTest::newRow("empty") << "" << 20;
    }
    // Normal, selected and current cells, each alignment, in an active window.
    void looksAsTheStyleDrawsIt() {
        QFETCH(QString, text);
        QFETCH(int, spare);
        Table t;
        QStyledItemDelegate style;
        t.fill(text, 0);
        const int width = style.sizeHint(t.option(), t.first()).width() + spare;
        for (int col = 0; col < 3; ++col)
            t.table.setColumnWidth(col, std::max(8, width));
        t.table.show();
        t.table.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&t.table));
        t.table.setFocus();
        t.table.setCurrentCell(1, 1);
        t.table.setRangeSelected(QTableWidgetSelectionRange(2, 0, 2, 2), true);
        const QImage ours = t.drawn(&t.cells);
        QCOMPARE(ours, t.drawn(&style));
        QCOMPARE(ours, t.drawn(&t.cells)); // and again from what it kept
    }

    // The width a column needs for a text is the style's, however the text is laid out.
    void measuresAsTheStyleDoes() {
        Table t;
        QStyledItemDelegate style;
        const QStyleOptionViewItem option = t.option();
        for (const QString& text :
             {QStringLiteral("1.95583"), QStringLiteral("Австралийски долар"),
              QStringLiteral("AVATAR To Wa"), QStringLiteral("USD   "), QStringLiteral("שקל חדש"),
              QStringLiteral("ffi fl"), QStringLiteral("x"), QString()}) {
            t.fill(text, 50);
            QCOMPARE(t.cells.width(option, t.first()), style.sizeHint(option, t.first()).width());
        }
    }

    // A new text in a cell is laid out anew, not drawn as the old one.
    void aChangedTextIsDrawnAnew() {
        Table t;
        t.fill(QStringLiteral("1.95583"), 80);
        const QImage before = t.drawn(&t.cells);
        t.table.item(0, 0)->setText(QStringLiteral("2.00000"));
        t.cells.forget(0, 0);
        QVERIFY(t.drawn(&t.cells) != before);
        QStyledItemDelegate style;
        QCOMPARE(t.drawn(&t.cells), t.drawn(&style));
    }
};

QTEST_MAIN(TestCellDelegate)
#include "tst_celldelegate.moc"
