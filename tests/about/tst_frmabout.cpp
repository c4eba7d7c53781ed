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
    void bothLinksOpenTheSameAddressOncePerClick() {
        CountingShell shell;
        about::frmAbout dlg(shell);
        dlg.show();
        QTest::mouseClick(dlg.Image1, Qt::LeftButton);
        QTest::mouseClick(dlg.Label4, Qt::LeftButton);
        QTest::mouseClick(dlg.Label4, Qt::LeftButton);
        QCOMPARE(shell.opened, QStringList(3, QString::fromLatin1(about::WebAddress)));
        QVERIFY(dlg.isVisible());
    }

    // As with a link: only the left button, let go over the link, opens the site.
    void onlyALeftClickEndedOnTheLinkOpensIt() {
        CountingShell shell;
        about::frmAbout dlg(shell);
        dlg.show();
        QTest::mouseClick(dlg.Label4, Qt::RightButton);
        QTest::mousePress(dlg.Label4, Qt::LeftButton);
        QTest::mouseRelease(dlg.Label4, Qt::LeftButton, {}, QPoint(-5, -5));
        QVERIFY(shell.opened.isEmpty());
        QTest::mouseClick(dlg.Image1, Qt::LeftButton);
        QCOMPARE(shell.opened.size(), 1);
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

    void contentAndPointers() {
        CountingShell shell;
        about::frmAbout dlg(shell);
        QVERIFY(dlg.lbl1->text().contains(QLatin1String(rates::BankHost)));
        QCOMPARE(dlg.Image1->pixmap().deviceIndependentSize().toSize(), QSize(105, 40));
        QVERIFY(!dlg.Image1->accessibleName().isEmpty());
        for (QWidget* widget : dlg.findChildren<QWidget*>()) {
            const bool link = widget == dlg.Image1 || widget == dlg.Label4;
            QCOMPARE(widget->cursor().shape(), link ? Qt::PointingHandCursor : Qt::ArrowCursor);
            QCOMPARE(widget->focusPolicy() != Qt::NoFocus, widget == dlg.lblOK);
        }
    }
};

QTEST_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
