// The widget services the windows are built on: the gate that drops a person's input during a
// download, the painted backdrop, Qt's own texts, the message box and the hand-over of an
// address to the browser.
#include "modal.h"
#include "platform/widgets/inputgate.h"
#include "platform/widgets/look.h"
#include "platform/widgets/qtshellopen.h"
#include "platform/widgets/qttoolkit.h"
#include "platform/widgets/toolkittexts.h"

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
            return QStringLiteral("%1 %2 %3")
                .arg(edit->text())
                .arg(clicks.size())
                .arg(bar->value());
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

    // Qt's own texts (a text box's menu) are in Bulgarian wherever the system has Qt's
    // translation.
    void toolkitTextsInBulgarianWhereInstalled() {
        if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                           QStringLiteral("/qtbase_bg.qm")))
            QSKIP("Qt's Bulgarian translation is not installed here");
        platform::useBulgarianToolkitTexts();
        QVERIFY(QCoreApplication::translate("QLineEdit", "&Undo").contains(u"Отмяна"));
    }

    // The message box: the prompt's two lines as two, no icon, and one button that reads "OK"
    // whatever Qt's translation says.
    void messageBoxShowsThePromptPlainly() {
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
