// The options dialog driven through its real widgets, as a person would use it.
#include "app/frmMain.h"
#include "options/frmOpt.h"
#include "windowkit.h"
#include "workdir.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using options::frmOpt;

namespace {

bool proxyControlsEnabled(const frmOpt& dlg) {
    const bool all = dlg.lblProxy->isEnabled() && dlg.lblPort->isEnabled() &&
                     dlg.txtProxy->isEnabled() && dlg.txtPort->isEnabled();
    const bool none = !dlg.lblProxy->isEnabled() && !dlg.lblPort->isEnabled() &&
                      !dlg.txtProxy->isEnabled() && !dlg.txtPort->isEnabled();
    if (!all && !none)
        qWarning("proxy controls disagree");
    return all;
}

// Opens the dialog from the menu as a person would, runs `use` on it, and returns when the
// dialog has been hidden.
void openOptions(app::frmMain& window, const std::function<void(frmOpt&)>& use) {
    whenModalOpens([&](QWidget* modal) {
        auto* dlg = qobject_cast<frmOpt*>(modal);
        QVERIFY(dlg != nullptr);
        use(*dlg);
        if (dlg->isVisible())
            dlg->btnCancel->click();
    });
    window.mnuOptions->trigger();
}

struct Started {
    ScratchDir dir;
    WindowToolkit toolkit;
    CountingShell shell;
    std::unique_ptr<app::frmMain> window;

    explicit Started(const QByteArray& file = {}) {
        if (!file.isEmpty())
            ScratchDir::write(file);
        window = std::make_unique<app::frmMain>(toolkit, shell);
        window->Form_Load();
        window->show();
    }
};

} // namespace

class TestFrmOpt : public QObject {
    Q_OBJECT
private slots:
    void builtStateBeforeTheRecordIsCopiedIn() {
        WindowToolkit toolkit;
        CountingShell shell;
        app::frmMain window(toolkit, shell);
        const frmOpt& dlg = window.Opt();
        QCOMPARE(dlg.txtPort->text(), QStringLiteral("1080"));
        QVERIFY(dlg.txtProxy->text().isEmpty());
        QCOMPARE(dlg.chkROS->checkState(), Qt::Unchecked);
        QVERIFY(!proxyControlsEnabled(dlg));
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Настройки"));
    }

    void firstOpeningWithoutFile() {
        Started app;
        openOptions(*app.window, [](frmOpt& dlg) {
            QCOMPARE(dlg.txtPort->text(), QStringLiteral("8080"));
            QCOMPARE(dlg.chkProxy->checkState(), Qt::Unchecked);
            QCOMPARE(dlg.chkROS->checkState(), Qt::Unchecked);
            QVERIFY(!proxyControlsEnabled(dlg));
            QCOMPARE(QApplication::focusWidget(), dlg.btnOK);
        });
    }

    void startWithProxyOnEnablesItsControls() {
        Started app("1\r\n0\r\n3128\r\n\"proxy.local\"\r\n");
        openOptions(*app.window, [](frmOpt& dlg) {
            QCOMPARE(dlg.chkProxy->checkState(), Qt::Checked);
            QVERIFY(proxyControlsEnabled(dlg));
            QCOMPARE(dlg.txtProxy->text(), QStringLiteral("proxy.local"));
        });
    }

    void cancelRestoresEverything() {
        Started app;
        openOptions(*app.window, [](frmOpt& dlg) {
            QTest::mouseClick(dlg.chkProxy, Qt::LeftButton);
            QVERIFY(proxyControlsEnabled(dlg));
            QTest::mouseClick(dlg.chkProxy, Qt::LeftButton);
            QVERIFY(!proxyControlsEnabled(dlg));
            QTest::mouseClick(dlg.chkProxy, Qt::LeftButton);
            QTest::mouseClick(dlg.chkROS, Qt::LeftButton);
            QTest::keyClicks(dlg.txtProxy, QStringLiteral("proxy.local"));
            dlg.txtPort->clear();
            QTest::keyClicks(dlg.txtPort, QStringLiteral("3128"));
            dlg.btnCancel->click();
        });
        openOptions(*app.window, [](frmOpt& dlg) {
            QCOMPARE(dlg.chkProxy->checkState(), Qt::Unchecked);
            QCOMPARE(dlg.chkROS->checkState(), Qt::Unchecked);
            QVERIFY(!proxyControlsEnabled(dlg));
            QVERIFY(dlg.txtProxy->text().isEmpty());
            QCOMPARE(dlg.txtPort->text(), QStringLiteral("8080"));
        });
        QCOMPARE(app.window->Opt().record(), options::Options{});
        QCOMPARE(app.window->Inet1().AccessType(), platform::Inet::Direct);
    }

    void okAppliesAtOnceButSavesOnlyAtExit() {
        Started app;
        openOptions(*app.window, [](frmOpt& dlg) {
            QTest::mouseClick(dlg.chkProxy, Qt::LeftButton);
            QTest::keyClicks(dlg.txtProxy, QStringLiteral("proxy.local"));
            dlg.txtPort->selectAll();
            QTest::keyClick(dlg.txtPort, Qt::Key_Backspace);
            QTest::keyClicks(dlg.txtPort, QStringLiteral("3128"));
            QTest::mouseClick(dlg.chkROS, Qt::LeftButton);
            dlg.btnOK->click();
            QVERIFY(!dlg.isVisible());
        });
        QCOMPARE(app.window->Inet1().AccessType(), platform::Inet::NamedProxy);
        QCOMPARE(app.window->Inet1().Proxy(), QStringLiteral("proxy.local:3128"));
        QCOMPARE(app.window->Opt().record().refreshOnStart, quint8{1});
        QVERIFY(app.window->pagetext().isEmpty()); // OK starts no refresh
        QCOMPARE(ScratchDir::read(), QByteArray("0\r\n0\r\n8080\r\n\"\"\r\n"));
        app.window->mnuExit->trigger();
        QCOMPARE(ScratchDir::read(), QByteArray("1\r\n1\r\n3128\r\n\"proxy.local\"\r\n"));
    }

    void emptyPortGivesZero() {
        Started app;
        openOptions(*app.window, [](frmOpt& dlg) {
            dlg.txtPort->clear();
            dlg.btnOK->click();
        });
        QCOMPARE(app.window->Opt().record().proxyPort, qint16{0});
    }

    void portBoxTakesOnlyDigitsAndBackspace() {
        Started app;
        openOptions(*app.window, [](frmOpt& dlg) {
            QTest::mouseClick(dlg.chkProxy, Qt::LeftButton);
            dlg.txtPort->clear();
            dlg.txtPort->setFocus();
            QTest::keyClicks(dlg.txtPort, QStringLiteral("8a-0.8 0"));
            QCOMPARE(dlg.txtPort->text(), QStringLiteral("8080"));
            QTest::keyClick(dlg.txtPort, Qt::Key_Backspace);
            QCOMPARE(dlg.txtPort->text(), QStringLiteral("808"));
            QGuiApplication::clipboard()->setText(QStringLiteral("x9"));
            QTest::keyClick(dlg.txtPort, Qt::Key_V, Qt::ControlModifier);
            QTest::keyClick(dlg.txtPort, Qt::Key_Insert, Qt::ShiftModifier);
            QCOMPARE(dlg.txtPort->text(), QStringLiteral("808"));
            dlg.txtPort->insert(QStringLiteral("x")); // as a paste from the context menu would
            QCOMPARE(dlg.txtPort->text(), QStringLiteral("808"));
            QTest::keyClick(dlg.txtPort, Qt::Key_Left);
            QTest::keyClick(dlg.txtPort, Qt::Key_1);
            QCOMPARE(dlg.txtPort->text(), QStringLiteral("8018"));
        });
    }

    void negativeStoredPortShownAndKept() {
        Started app("0\r\n0\r\n-1\r\n\"\"\r\n");
        openOptions(*app.window, [](frmOpt& dlg) {
            QCOMPARE(dlg.txtPort->text(), QStringLiteral("-1"));
            dlg.btnOK->click();
        });
        QCOMPARE(app.window->Opt().record().proxyPort, qint16{-1});
    }

    void portOutOfRangeIsRefused() {
        Started app;
        openOptions(*app.window, [&app](frmOpt& dlg) {
            QTest::mouseClick(dlg.chkProxy, Qt::LeftButton);
            dlg.txtPort->clear();
            QTest::keyClicks(dlg.txtPort, QStringLiteral("40000"));
            QString message;
            whenModalOpens([&](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                QVERIFY(box != nullptr);
                message = box->text();
                box->button(QMessageBox::Ok)->click();
            });
            dlg.btnOK->click();
            QVERIFY(message.contains(QStringLiteral("-32768 до 32767")));
            QVERIFY(dlg.isVisible());
            QCOMPARE(dlg.txtPort->text(), QStringLiteral("40000"));
            QCOMPARE(app.window->Opt().record(), options::Options{});
            QCOMPARE(app.window->Inet1().AccessType(), platform::Inet::Direct);
        });
    }

    void enterAndEscapeDoNothingAndTheCloseBoxCancels() {
        Started app;
        openOptions(*app.window, [](frmOpt& dlg) {
            QTest::keyClicks(dlg.txtPort, QStringLiteral("1"));
            QTest::keyClick(&dlg, Qt::Key_Escape);
            QTest::keyClick(dlg.txtProxy, Qt::Key_Return);
            QVERIFY(dlg.isVisible());
            dlg.close();
            QVERIFY(!dlg.isVisible());
        });
        QCOMPARE(app.window->Opt().record(), options::Options{});
        openOptions(*app.window,
                    [](frmOpt& dlg) { QCOMPARE(dlg.txtPort->text(), QStringLiteral("8080")); });
    }

    void handEditedFlagsAreShownGreyAndKept() {
        Started app("7\r\n2\r\n80\r\n\"h\"\r\n");
        openOptions(*app.window, [](frmOpt& dlg) {
            QCOMPARE(dlg.chkProxy->checkState(), Qt::PartiallyChecked);
            QCOMPARE(dlg.chkROS->checkState(), Qt::PartiallyChecked);
            QVERIFY(proxyControlsEnabled(dlg)); // non-zero counts as on
            dlg.btnOK->click();
        });
        QCOMPARE(app.window->Opt().record().useProxy, quint8{7});
        QCOMPARE(app.window->Opt().record().refreshOnStart, quint8{2});
        openOptions(*app.window, [](frmOpt& dlg) {
            QTest::mouseClick(dlg.chkProxy, Qt::LeftButton);
            QCOMPARE(dlg.chkProxy->checkState(), Qt::Checked);
            QTest::mouseClick(dlg.chkProxy, Qt::LeftButton);
            QCOMPARE(dlg.chkProxy->checkState(), Qt::Unchecked); // only clear and ticked now
            dlg.btnOK->click();
        });
        QCOMPARE(app.window->Opt().record().useProxy, quint8{0});
    }
};

QTEST_MAIN(TestFrmOpt)
#include "tst_frmopt.moc"
