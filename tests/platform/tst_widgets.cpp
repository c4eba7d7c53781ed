// The widget services the windows are built on: the rate grid on its own (headers and widths
// from its format string, what a cell shows and keeps, copying a range; wider than the screen,
// in the main window: tst_mainlayout), the gate that drops a person's input during a download,
// the painted backdrop, Qt's own texts, the message box and the hand-over of an address to
// the browser.
#include "modal.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/inputgate.h"
#include "platform/widgets/look.h"
#include "platform/widgets/qtshellopen.h"
#include "platform/widgets/qttoolkit.h"
#include "platform/widgets/toolkittexts.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

// A grid in its font, as the main window makes it: the font is what fits the columns.
struct Grid {
    explicit Grid(int rows = 4,
                  const QString& format = QStringLiteral("<Currency name|<Code|>Rate  "))
        : grid(rows, 3, format) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSizeF(9);
        grid.setFont(font);
    }
    void fill(const QList<QStringList>& rows) {
        for (int row = 0; row < rows.size(); ++row)
            for (int col = 0; col < rows.at(row).size(); ++col)
                grid.setTextMatrix(row + 1, col, rows.at(row).at(col));
    }
    int textWidth(const QString& text) const { return grid.fontMetrics().horizontalAdvance(text); }
    platform::FlexGrid grid;
};

} // namespace

// Stands in for the desktop's browser: the addresses it was given.
class Browser final : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

class TestWidgets : public QObject {
    Q_OBJECT
private slots:
    // Each segment names its column's header after an alignment mark; its trailing spaces
    // belong to the header and widen the column before any cell has a value.
    void formatStringGivesHeadersAndAlignments() {
        const QString last = QStringLiteral("Курс   ");
        const Grid g(4, QStringLiteral("<Име|^Код|>") + last);
        QCOMPARE(g.grid.TextMatrix(0, 2), last);
        QVERIFY(g.grid.columnWidth(2) > g.textWidth(last));
        const auto aligned = [&g](int col) {
            return g.grid.horizontalHeaderItem(col)->textAlignment() & Qt::AlignHorizontal_Mask;
        };
        QCOMPARE(QList<int>({aligned(0), aligned(1), aligned(2)}),
                 QList<int>({Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight}));
    }

    // Columns fit their widest cell, afresh each time: shorter values shrink them again, down
    // to the header's width and no further.
    void columnsFitTheirWidestCell() {
        Grid g;
        const int headerWidth = g.grid.columnWidth(0);
        const QString longName(40, u'ш');
        g.fill({{QStringLiteral("Лев")}, {longName}});
        g.grid.fitColumns(QWIDGETSIZE_MAX);
        const int fitted = g.grid.columnWidth(0);
        QVERIFY(fitted > g.textWidth(longName));
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
        g.fill({{"Австралийски долар", "AUD", "1.10342"},
                {"Канадски долар", "CAD", "1.20117"},
                {"", "  CHF ", " 2.1"},
                {"", "", "1\t2\r\n3"}});
        QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
        g.grid.setRangeSelected(range, true);
        QTest::keyClick(&g.grid, Qt::Key_C, Qt::ControlModifier);
        QTEST(QGuiApplication::clipboard()->text(), "text");
    }

    // Typing, a click and a turn of the wheel while the gate stands are lost, not held back for
    // later; the same input acts once the gate is gone. Closing a window still goes through.
    void inputGateDropsInputWhileItStands() {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* edit = new QLineEdit(&window);
        auto* button = new QPushButton(QStringLiteral("OK"), &window);
        auto* bar = new QScrollBar(Qt::Vertical, &window);
        bar->setRange(0, 100);
        for (QWidget* widget : std::initializer_list<QWidget*>{edit, button, bar})
            layout->addWidget(widget);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy clicks(button, &QPushButton::clicked);
        const auto personActs = [&] {
            QTest::keyClicks(edit, QStringLiteral("80"));
            QTest::mouseClick(button, Qt::LeftButton);
            QWheelEvent wheel(QPointF(5, 5), bar->mapToGlobal(QPointF(5, 5)), QPoint(),
                              QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                              false);
            QApplication::sendEvent(bar, &wheel);
            QCoreApplication::processEvents(); // nothing was queued to act later
            return edit->text() + QStringLiteral(" %1 %2").arg(clicks.size()).arg(bar->value());
        };
        {
            const platform::InputGate gate;
            QCOMPARE(personActs(), QStringLiteral(" 0 0"));
            QVERIFY(!button->isDown()); // not half a click either
        }
        QVERIFY(personActs().startsWith(QStringLiteral("80 1 ")));
        QVERIFY(bar->value() > 0);
        const platform::InputGate gate;
        QVERIFY(window.close());
    }

    // A backdrop painted on a widget inside the window shows there, over the window's own.
    void backdropIsPainted() {
        QWidget window;
        window.resize(60, 40);
        auto* client = new QWidget(&window);
        client->setGeometry(10, 10, 40, 20);
        const QColor colour(10, 20, 30);
        platform::paintBackground(*client, colour);
        const QImage image = window.grab().toImage();
        QCOMPARE(image.pixelColor(30, 20), colour);
        QVERIFY(image.pixelColor(5, 5) != colour);
    }

    // The message box: the prompt's two lines as two, no icon, and one button that reads "OK"
    // whatever Qt's translation says, while Qt's own texts (a text box's menu) are in Bulgarian
    // wherever the system has Qt's translation.
    void messageBoxIsPlainAmongBulgarianToolkitTexts() {
        platform::useBulgarianToolkitTexts();
        QString seen;
        {
            const WhenModalOpens opened([&seen](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                QVERIFY(box != nullptr);
                const QList<QAbstractButton*> buttons = box->buttons();
                seen = QStringLiteral("%1|%2|%3|icon %4, %5 button(s)")
                           .arg(box->windowTitle(), box->text(), buttons.constFirst()->text())
                           .arg(box->icon())
                           .arg(buttons.size());
                buttons.constFirst()->click(); // first: a failed check must not leave it open
            });
            platform::QtToolkit().MsgBox(nullptr, QStringLiteral("a\r\nb"), QStringLiteral("t"));
        }
        QCOMPARE(seen, QStringLiteral("t|a\nb|OK|icon 0, 1 button(s)"));
        if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                           QStringLiteral("/qtbase_bg.qm")))
            QSKIP("Qt's Bulgarian translation is not installed here");
        QVERIFY(QCoreApplication::translate("QLineEdit", "&Undo").contains(u"Отмяна"));
    }

    void shellOpenHandsTheAddressToTheBrowser() {
        Browser browser;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "open");
        const QString address = QStringLiteral("https://kursove.example.org/a?b=c");
        platform::QtShellOpen().open(address);
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(browser.opened, QList<QUrl>{QUrl(address)});
    }
};

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
