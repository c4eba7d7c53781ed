// The About window: its two links, its OK, and what the keyboard and pointer do there.
#include "about/credits.h"
#include "about/frmAbout.h"
#include "platform/clicklabel.h"
#include "rates/address.h"
#include "windowkit.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using about::frmAbout;

class TestFrmAbout : public QObject {
    Q_OBJECT
private slots:
    void bothLinksOpenTheSameAddressOncePerClick() {
        CountingShell shell;
        frmAbout dlg(shell);
        dlg.show();
        QTest::mouseClick(dlg.Image1, Qt::LeftButton);
        QTest::mouseClick(dlg.Label4, Qt::LeftButton);
        QTest::mouseClick(dlg.Label4, Qt::LeftButton);
        const QString address = QString::fromLatin1(about::WebAddress);
        QCOMPARE(shell.opened, QStringList({address, address, address}));
        QVERIFY(dlg.isVisible());
        QVERIFY(address.endsWith(QStringLiteral(".example.org")));
    }

    void okHidesAndTheSameWindowOpensAgain() {
        CountingShell shell;
        frmAbout dlg(shell);
        const QString notice = dlg.lbl1->text();
        whenModalOpens([&](QWidget* modal) {
            QCOMPARE(modal, &dlg);
            QCOMPARE(QApplication::focusWidget(), dlg.lblOK);
            QTest::keyClick(&dlg, Qt::Key_Escape);
            QVERIFY(dlg.isVisible());
            QTest::keyClick(dlg.lblOK, Qt::Key_Space);
        });
        dlg.exec();
        QVERIFY(!dlg.isVisible());
        whenModalOpens([&](QWidget* modal) {
            QCOMPARE(modal, &dlg);
            QCOMPARE(dlg.lbl1->text(), notice);
            dlg.lblOK->click();
        });
        dlg.exec();
        QVERIFY(!dlg.isVisible());
    }

    void contentAndPointers() {
        CountingShell shell;
        frmAbout dlg(shell);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("За програмата"));
        QVERIFY(dlg.lbl1->text().contains(QLatin1String(rates::BankHost)));
        QCOMPARE(dlg.Label4->text(), QStringLiteral("Visit: kursove.example.org"));
        QCOMPARE(dlg.Image1->pixmap().size(), QSize(105, 40));
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
