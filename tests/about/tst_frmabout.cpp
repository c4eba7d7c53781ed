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
    // It names the bank's site and shows its picture, which with the address is a link: the
    // pointer is a hand over them, and each opens the site once per click, as a link
    // does: only with the left button, let go over the link; a double-click (its second press
    // comes as a double-click event) opens it once more, not twice.
    void linksOpenTheSiteOnALeftClick() {
        CountingShell shell;
        about::frmAbout dlg(shell);
        QVERIFY(dlg.lbl1->text().contains(QLatin1String(rates::BankHost)));
        QVERIFY(!dlg.Image1->pixmap().isNull());
        for (const QWidget* link : std::initializer_list<const QWidget*>{dlg.Image1, dlg.Label4})
            QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
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
    }

    // Escape does nothing; Enter presses the focused OK.
    void escapeLeavesItOpenAndOkHidesTheSameWindow() {
        CountingShell shell;
        about::frmAbout dlg(shell);
        const WhenModalOpens opened([&](QWidget* modal) {
            QCOMPARE(modal, &dlg);
            QCOMPARE(dlg.focusWidget(), dlg.lblOK);
            QTest::keyClick(&dlg, Qt::Key_Escape);
            QVERIFY(dlg.isVisible());
            QTest::keyClick(dlg.lblOK, Qt::Key_Return);
        });
        dlg.exec();
        QVERIFY(!dlg.isVisible());
    }
};

QTEST_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
