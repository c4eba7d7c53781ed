// The About window: its two links, its OK, and what the keyboard and pointer do there.
#include "about/credits.h"
#include "about/frmAbout.h"
#include "modal.h"
#include "platform/widgets/clicklabel.h"
#include "rates/address.h"
#include "standins.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

class TestFrmAbout : public QObject {
    Q_OBJECT
private slots:
    // The picture and the address each open the site once per click, as a link does: only
    // with the left button, let go over the link; a double-click (its second press comes as a
    // double-click event) opens it once more, not twice.
    void linksOpenTheSiteOnALeftClick() {
        CountingShell shell;
        about::frmAbout dlg(shell);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QTest::mouseClick(dlg.Label4, Qt::RightButton);
        QTest::mousePress(dlg.Label4, Qt::LeftButton);
        QTest::mouseRelease(dlg.Label4, Qt::LeftButton, {}, QPoint(-5, -5));
        QVERIFY(shell.opened.isEmpty());
        QTest::mouseClick(dlg.Image1, Qt::LeftButton);
        QTest::mouseClick(dlg.Label4, Qt::LeftButton);
        for (const QWidget* link : std::initializer_list<const QWidget*>{dlg.Image1, dlg.Label4})
            QTest::mouseDClick(dlg.windowHandle(), Qt::LeftButton, {}, link->geometry().center());
        QCOMPARE(shell.opened, QStringList(4, QString::fromLatin1(about::WebAddress)));
        QVERIFY(dlg.isVisible());
    }

    // Space and Enter press the focused OK; Escape does nothing.
    void escapeLeavesItOpenAndOkHidesTheSameWindow() {
        CountingShell shell;
        about::frmAbout dlg(shell);
        for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return}) {
            const WhenModalOpens opened([&](QWidget* modal) {
                QCOMPARE(modal, &dlg);
                QCOMPARE(dlg.focusWidget(), dlg.lblOK);
                QTest::keyClick(&dlg, Qt::Key_Escape);
                QVERIFY(dlg.isVisible());
                QTest::keyClick(dlg.lblOK, key);
            });
            dlg.exec();
            QVERIFY(!dlg.isVisible());
        }
    }

    // It names the bank's site and shows its picture; the pointer is a hand over the links only.
    void contentAndPointers() {
        CountingShell shell;
        about::frmAbout dlg(shell);
        QVERIFY(dlg.lbl1->text().contains(QLatin1String(rates::BankHost)));
        QVERIFY(!dlg.Image1->pixmap().isNull());
        for (QWidget* widget : dlg.findChildren<QWidget*>()) {
            const bool link = widget == dlg.Image1 || widget == dlg.Label4;
            QCOMPARE(widget->cursor().shape(), link ? Qt::PointingHandCursor : Qt::ArrowCursor);
        }
    }
};

QTEST_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
