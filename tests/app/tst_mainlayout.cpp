// The main window's shape: in a font wider than the layout's, how it widens to its values, up
// to the screen's size; right to left, the whole window is mirrored.
#include "platform/widgets/flexgrid.h"
#include "program.h"

#include <QBitmap>
#include <QLabel>
#include <QScreen>
#include <QTest>

using sampleserver::SampleServer;

namespace {

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

// The program shown in a wide font, refreshed from a sample server. Also run on a small
// screen at three times the scale, and as a Wayland client of its own compositor (see CMakeLists).
struct WideWindow : Program {
    WideWindow() : server({samplePage()}) {
        const QFont wide(QStringLiteral("DejaVu Sans"), 11);
        for (QWidget* widget : std::initializer_list<QWidget*>{window.FG, window.lblDate2,
                                                               window.lblUSD, window.Label1})
            widget->setFont(wide);
        window.show();
        ready = QTest::qWaitForWindowExposed(&window) && server.listen();
        placed = window.frameGeometry().size();
        fetchFrom(server);
    }
    void refresh(const QByteArray& page) {
        server.config().page = page;
        window.btnRefresh_Click();
        QTest::qWait(0);
    }
    // Whole on its screen in both directions. A Wayland client cannot know or change where it
    // was placed: there it must not outgrow the size it was placed at.
    [[nodiscard]] bool onScreen() const {
        const QRect frame = window.frameGeometry();
        const QRect area = window.screen()->availableGeometry();
        if (QGuiApplication::platformName() == QStringLiteral("wayland"))
            return frame.size().boundedTo(placed.boundedTo(area.size())) == frame.size();
        return area.contains(frame);
    }
    SampleServer server;
    bool ready = false;
    QSize placed;
};

} // namespace

class TestMainLayout : public QObject {
    Q_OBJECT
private slots:
    // Columns widen to their cells and labels to their texts, side by side, and the window to
    // both, but never past the screen: there a cell keeps its whole text, and the date shows
    // its beginning, ended with "…", with the whole of it in a tip. Ordinary values afterwards
    // bring the window back.
    void widensToItsValuesUpToTheScreen_data() {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("name"); // the first currency's
        QTest::newRow("long values") << samplePage("KURSOVE_LONG_PAGE") << "";
        QTest::newRow("values too long for the screen") << hugePage() << QString(1100, u'д');
    }
    void widensToItsValuesUpToTheScreen() {
        QFETCH(QString, name);
        WideWindow app;
        QVERIFY(app.ready);
        app.refresh(samplePage());
        const int sampleWidth = app.window.width();
        QFETCH(QByteArray, page);
        app.refresh(page);
        QVERIFY(app.onScreen());
        QVERIFY(app.window.width() >= sampleWidth); // equal where both fill the screen
        QLabel& date = *app.window.lblDate2;
        int right = 0;
        for (QLabel* label : {app.window.lblDate, &date, app.window.Label1, app.window.lblUSD}) {
            QVERIFY2(label->x() >= right + (label == app.window.Label1 ? 8 : 0),
                     qPrintable(label->text())); // no overlap, and clear of "1 USD ="
            right = label->geometry().right() + 1;
        }
        QVERIFY(right <= app.window.centralWidget()->width());
        if (!name.isEmpty()) {
            QCOMPARE(app.window.FG->TextMatrix(1, 0), name);
            QCOMPARE(date.toolTip(), date.text());
            QCOMPARE(date.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
            // Not cut through a digit. (Beside its frame a label keeps half an "x" clear on its
            // aligned side.)
            const int room =
                date.contentsRect().width() - date.fontMetrics().horizontalAdvance(u'x') / 2;
            QLabel elided(date.fontMetrics().elidedText(date.text(), Qt::ElideRight, room),
                          date.parentWidget());
            elided.setFont(date.font());
            elided.setFrameStyle(date.frameStyle());
            elided.setAlignment(date.alignment());
            elided.resize(date.size());
            QCOMPARE(date.grab().toImage(), elided.grab().toImage());
        }
        app.refresh(samplePage());
        QCOMPARE(date.alignment(), Qt::AlignCenter);
        QCOMPARE(app.window.width(), sampleWidth);
    }

    // A window manager that is still catching up reports a size a step behind the one asked
    // for: a refresh then fits the window to the screen all the same.
    void fitsTheScreenWhileTheWindowSystemLags() {
        WideWindow app;
        QVERIFY(app.ready);
        app.refresh(samplePage());
        const QSize asked = app.window.size();
        app.window.windowHandle()->resize(asked.width() / 2, asked.height()); // the late report
        if (!QTest::qWaitFor([&] { return app.window.width() == asked.width() / 2; }))
            QSKIP("this window system holds the window at its fixed size");
        app.refresh(hugePage());
        QVERIFY(app.window.minimumWidth() <= app.window.screen()->availableGeometry().width());
    }

    // -reverse, or a right-to-left language: the date row, the grid and the button all change
    // sides, as the menu does.
    void rightToLeftMirrorsTheWholeWindow() {
        Program app;
        app.window.show();
        QWidget* client = app.window.centralWidget();
        const QList<QWidget*> children = client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        QHash<QWidget*, QRect> leftToRight;
        for (QWidget* child : children)
            leftToRight.insert(child, child->geometry());
        // The room a caption's text leaves on its left and on its right: they change sides.
        const auto margins = [](QLabel* caption) {
            const QImage image = caption->grab().toImage();
            const QRect ink =
                QRegion(QBitmap::fromImage(image.createMaskFromColor(image.pixel(0, 0))))
                    .boundingRect();
            return std::pair{ink.left(), image.width() - 1 - ink.right()};
        };
        const auto usdCaption = margins(app.window.Label1);

        app.window.setLayoutDirection(Qt::RightToLeft);
        for (QWidget* child : children) {
            const QRect mirrored = leftToRight.value(child);
            QCOMPARE(child->geometry(), QRect(client->width() - mirrored.right() - 1, mirrored.y(),
                                              mirrored.width(), mirrored.height()));
        }
        const auto mirroredCaption = margins(app.window.Label1);
        QVERIFY(std::abs(mirroredCaption.first - usdCaption.second) <= 2);
        QVERIFY(std::abs(mirroredCaption.second - usdCaption.first) <= 2);
    }
};

QTEST_MAIN(TestMainLayout)
#include "tst_mainlayout.moc"
