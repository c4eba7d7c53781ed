// The main window's shape: in a font wider than the layout's, columns widen to their cells,
// labels to their texts and the window to both, but never past the screen; a value too long
// for the screen shows its beginning and stays whole where a person or a screen reader can
// read it; right to left, the whole window is mirrored.
#include "platform/widgets/flexgrid.h"
#include "program.h"

#include <QAccessible>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTest>

using sampleserver::SampleServer;

namespace {

QByteArray longPage() {
    QFile file(qEnvironmentVariable("KURSOVE_LONG_PAGE"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("long sample page not found: set KURSOVE_LONG_PAGE");
    return file.readAll();
}

// A name of 1,100 letters, a code and a rate of 300 digits, and as long a date.
QByteArray hugePage() {
    QByteArray huge = samplePage();
    huge.replace("05.12.2026", QByteArray(400, '5'));
    huge.replace("USD", QByteArray(300, 'U'));
    huge.replace("1.67142", "1." + QByteArray(300, '6'));
    huge.replace("\xC0\xE2\xF1\xF2\xF0\xE0\xEB\xE8\xE9\xF1\xEA\xE8 \xE4\xEE\xEB\xE0\xF0",
                 QByteArray(1100, '\xE4')); // "Австралийски долар" in windows-1251
    return huge;
}

// The program shown in a wide font, refreshed from a sample server.
struct WideWindow : Program {
    WideWindow() : server({samplePage()}) {
        wide.setPointSizeF(11);
        for (QWidget* widget : std::initializer_list<QWidget*>{window.FG, window.lblDate2,
                                                               window.lblUSD, window.Label1})
            widget->setFont(wide);
        window.show();
        listening = server.listen();
        fetchFrom(server);
    }
    void refresh(const QByteArray& page) {
        server.config().page = page;
        window.btnRefresh_Click();
        QTest::qWait(0);
    }
    [[nodiscard]] bool onScreen() const {
        const QRect area = window.screen()->availableGeometry();
        return window.frameGeometry().width() <= area.width() &&
               window.frameGeometry().left() >= area.left();
    }
    QFont wide{QStringLiteral("DejaVu Sans")};
    SampleServer server;
    bool listening = false;
};

} // namespace

class TestMainLayout : public QObject {
    Q_OBJECT
private slots:
    void columnsAndLabelsWidenToTheirValues() {
        WideWindow app;
        QVERIFY(app.listening);
        app.refresh(samplePage());
        const int sampleWidth = app.window.width();
        app.refresh(longPage());
        platform::FlexGrid& grid = *app.window.FG;
        QCOMPARE(grid.TextMatrix(26, 3), QStringLiteral("2063.4814629044"));
        const QFontMetrics metrics(app.wide);
        constexpr int TextMargins = 6; // the delegate's margins on both sides of a cell's text
        for (int row = 1; row <= 28; ++row) {
            for (int col = 0; col < 6; ++col) {
                const QString text = grid.item(row - 1, col)->text();
                // Whole, unless wider than the grid can show on this screen.
                QVERIFY2(grid.columnWidth(col) >=
                             std::min(metrics.horizontalAdvance(text) + TextMargins,
                                      grid.viewport()->width()),
                         qPrintable(text));
            }
        }
        QVERIFY(app.window.width() >= sampleWidth); // equal where both fill the screen
        QVERIFY(app.onScreen());
        QCOMPARE(grid.horizontalScrollBar()->maximum() > 0,
                 grid.horizontalHeader()->length() > grid.viewport()->width());
        int right = 0;
        for (QLabel* label :
             {app.window.lblDate, app.window.lblDate2, app.window.Label1, app.window.lblUSD}) {
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
            QVERIFY2(label->x() >= right, qPrintable(label->text())); // no overlap
            right = label->geometry().right() + 1;
        }
        QVERIFY(right <= app.window.centralWidget()->width());
    }

    // Past the screen's width the grid scrolls; a cell keeps its whole text, for the screen
    // reader too, and the date shows its beginning with the whole of it in a tip.
    void neverWiderThanTheScreen() {
        WideWindow app;
        QVERIFY(app.listening);
        app.refresh(hugePage());
        platform::FlexGrid& grid = *app.window.FG;
        QCOMPARE(grid.TextMatrix(1, 0), QString(1100, u'д'));
        QCOMPARE(QAccessible::queryAccessibleInterface(&grid)->tableInterface()->cellAt(0, 0)->text(
                     QAccessible::Name),
                 QString(1100, u'д'));
        QCOMPARE(grid.TextMatrix(26, 1), QString(300, u'U'));
        QVERIFY(app.onScreen());
        QVERIFY(grid.horizontalScrollBar()->maximum() > 0);
        QVERIFY(grid.columnWidth(1) <= grid.viewport()->width());

        QLabel& date = *app.window.lblDate2;
        QCOMPARE(date.text(), QString(400, u'5'));
        QCOMPARE(date.toolTip(), date.text());
        QCOMPARE(date.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
        QVERIFY(app.window.Label1->x() - date.geometry().right() > 8); // clear of "1 USD ="

        app.refresh(samplePage());
        QCOMPARE(date.alignment(), Qt::AlignCenter);
        QCOMPARE(date.toolTip(), QString());
    }

    void ordinaryValuesBringTheWindowBack() {
        WideWindow app;
        QVERIFY(app.listening);
        app.refresh(samplePage());
        const int sampleWidth = app.window.width();
        const int sampleScroll = app.window.FG->horizontalScrollBar()->maximum();
        app.refresh(hugePage());
        app.refresh(samplePage());
        QCOMPARE(app.window.width(), sampleWidth);
        QCOMPARE(app.window.FG->horizontalScrollBar()->maximum(), sampleScroll);
    }

    // -reverse, or a right-to-left language: the date row, the grid and the button all change
    // sides, as the menu does.
    void rightToLeftMirrorsTheWholeWindow() {
        Program app;
        app::frmMain& window = app.window;
        window.show();
        QWidget* client = window.centralWidget();
        const QList<QWidget*> children = client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        QCOMPARE(children.size(), 6);
        QHash<QWidget*, QRect> leftToRight;
        for (QWidget* child : children)
            leftToRight.insert(child, child->geometry());
        QVERIFY(window.lblDate->x() < window.lblDate2->x());
        // The room a caption's text leaves on its left and on its right: they change sides.
        const auto margins = [](QLabel* caption) {
            const QImage image = caption->grab().toImage();
            int first = image.width();
            int last = -1;
            for (int x = 0; x < image.width(); ++x)
                for (int y = 0; y < image.height(); ++y)
                    if (image.pixel(x, y) != image.pixel(0, 0)) {
                        first = std::min(first, x);
                        last = x;
                    }
            return std::pair{first, image.width() - 1 - last};
        };
        const auto usdCaption = margins(window.Label1);

        window.setLayoutDirection(Qt::RightToLeft);
        for (QWidget* child : children) {
            const QRect mirrored = leftToRight.value(child);
            QCOMPARE(child->geometry(), QRect(client->width() - mirrored.right() - 1, mirrored.y(),
                                              mirrored.width(), mirrored.height()));
        }
        QVERIFY(window.lblDate->x() > window.lblDate2->x());
        const auto mirroredCaption = margins(window.Label1);
        QVERIFY2(std::abs(mirroredCaption.first - usdCaption.second) <= 2 &&
                     std::abs(mirroredCaption.second - usdCaption.first) <= 2,
                 qPrintable(QStringLiteral("left to right %1|%2, right to left %3|%4")
                                .arg(usdCaption.first)
                                .arg(usdCaption.second)
                                .arg(mirroredCaption.first)
                                .arg(mirroredCaption.second)));
        QVERIFY(window.btnRefresh->x() > client->width() / 2);

        window.setLayoutDirection(Qt::LeftToRight);
        for (QWidget* child : children)
            QCOMPARE(child->geometry(), leftToRight.value(child));
    }
};

QTEST_MAIN(TestMainLayout)
#include "tst_mainlayout.moc"
