// The options dialog driven through its real widgets, as a person would use it.
#include "modal.h"
#include "options/frmOpt.h"
#include "program.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using options::frmOpt;
using options::Options;

namespace {

// "on" or "off" when the four proxy controls agree, as they always must.
QString proxyControls(const frmOpt& dlg) {
    const QList<const QWidget*> controls{dlg.lblProxy, dlg.lblPort, dlg.txtProxy, dlg.txtPort};
    const auto on =
        std::count_if(controls.begin(), controls.end(), std::mem_fn(&QWidget::isEnabled));
    return on == 4 ? "on" : on == 0 ? "off" : "mixed";
}

// The program, shown, with the options dialog opened from its menu.
struct Started : Program {
    explicit Started(const QByteArray& file = {}) : Program(file) { window.show(); }
    // Opens the dialog from the menu, runs `use` on it, and returns once it is hidden.
    void options(const std::function<void(frmOpt&)>& use) {
        const WhenModalOpens opened([&](QWidget* modal) {
            auto* dlg = qobject_cast<frmOpt*>(modal);
            QVERIFY(dlg != nullptr);
            use(*dlg);
            if (dlg->isVisible())
                dlg->btnCancel->click();
        });
        window.mnuOptions->trigger();
    }
    [[nodiscard]] const Options& record() { return window.Opt().record(); }
};

void typePort(frmOpt& dlg, const QString& keys) {
    dlg.txtPort->clear();
    QTest::keyClicks(dlg.txtPort, keys);
}

} // namespace

class TestFrmOpt : public QObject {
    Q_OBJECT
private slots:
    // The dialog first shows the file's options (not the values it was built with), the proxy's
    // controls off with its box. Cancel, Enter on the focused Cancel, and the close box, which
    // acts as Cancel, restore them; Enter elsewhere and Escape do nothing.
    void cancelRestoresEverything_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancel") << "click";
        QTest::newRow("Enter on Cancel") << "enter";
        QTest::newRow("close box") << "close";
    }
    void cancelRestoresEverything() {
        QFETCH(QString, how);
        Started app;
        app.options([how](frmOpt& dlg) {
            QCOMPARE(dlg.txtPort->text(), QStringLiteral("8080")); // not the built "1080"
            QCOMPARE(proxyControls(dlg), "off");
            QCOMPARE(QApplication::focusWidget(), dlg.btnOK);
            QTest::mouseClick(dlg.chkProxy, Qt::LeftButton);
            QCOMPARE(proxyControls(dlg), "on");
            QTest::mouseClick(dlg.chkROS, Qt::LeftButton);
            QTest::keyClicks(dlg.txtProxy, QStringLiteral("proxy.local"));
            typePort(dlg, QStringLiteral("3128"));
            QTest::keyClick(&dlg, Qt::Key_Escape);
            QTest::keyClick(dlg.txtProxy, Qt::Key_Return);
            QVERIFY(dlg.isVisible());
            if (how == "close") {
                dlg.close();
            } else if (how == "enter") {
                dlg.btnCancel->setFocus();
                QTest::keyClick(dlg.btnCancel, Qt::Key_Return);
            } else {
                dlg.btnCancel->click();
            }
            QVERIFY(!dlg.isVisible());
        });
        app.options([](frmOpt& dlg) {
            QCOMPARE(dlg.chkROS->checkState(), Qt::Unchecked);
            QCOMPARE(proxyControls(dlg), "off");
            QVERIFY(dlg.txtProxy->text().isEmpty());
            QCOMPARE(dlg.txtPort->text(), QStringLiteral("8080"));
        });
        QCOMPARE(app.record(), Options{});
        QCOMPARE(app.window.Inet1().AccessType(), platform::Inet::Access::Direct);
    }

    // The host is pasted with line breaks, which must not split its line in options.opt (and
    // the box then shows it as stored); OK is pressed with Enter.
    void okAppliesAtOnceAndSavesOnlyAtExit() {
        Started app;
        app.options([](frmOpt& dlg) {
            QTest::mouseClick(dlg.chkProxy, Qt::LeftButton);
            QGuiApplication::clipboard()->setText(QStringLiteral("proxy\r\n.local\n"));
            dlg.txtProxy->paste();
            typePort(dlg, QStringLiteral("3128"));
            QTest::mouseClick(dlg.chkROS, Qt::LeftButton);
            dlg.btnOK->setFocus();
            QTest::keyClick(dlg.btnOK, Qt::Key_Enter, Qt::KeypadModifier);
            QVERIFY(!dlg.isVisible());
        });
        QCOMPARE(app.window.Inet1().Proxy(), QStringLiteral("proxy.local:3128"));
        QVERIFY(app.window.pagetext().isEmpty()); // OK starts no refresh
        QCOMPARE(ScratchDir::read(), QByteArray("0\r\n0\r\n8080\r\n\"\"\r\n"));
        app.window.mnuExit->trigger();
        QCOMPARE(ScratchDir::read(), QByteArray("1\r\n1\r\n3128\r\n\"proxy.local\"\r\n"));
        app.options([](frmOpt& dlg) {
            QCOMPARE(dlg.txtProxy->text(), QStringLiteral("proxy.local")); // as it was stored
            QTest::mouseClick(dlg.chkProxy, Qt::LeftButton);               // proxy off again
            dlg.txtPort->clear();
            dlg.btnOK->click();
            QCOMPARE(dlg.txtPort->text(), QStringLiteral("0"));
        });
        QCOMPARE(app.record().proxyPort, qint16{0}); // an empty port reads as 0
        QCOMPARE(app.window.Inet1().AccessType(), platform::Inet::Access::Direct);
    }

    // Digits and the editing keys only, typed or pasted, with the texts X11 gives the keys
    // (Delete's is DEL, 0x7f); a negative port from the file is shown, though no minus can be
    // typed. Tab leaves the box as it leaves any other. A port out of range is refused and
    // changes nothing.
    void portBoxTakesOnlyDigitsInRange() {
        Started app("1\r\n0\r\n-1\r\n\"h\"\r\n");
        app.options([&app](frmOpt& dlg) {
            QCOMPARE(dlg.txtPort->text(), QStringLiteral("-1"));
            typePort(dlg, QStringLiteral("-8a-0.8 0"));
            QCOMPARE(dlg.txtPort->text(), QStringLiteral("8080"));
            QGuiApplication::clipboard()->setText(QStringLiteral("x9"));
            QTest::keyClick(dlg.txtPort, Qt::Key_V, Qt::ControlModifier);
            dlg.txtPort->insert(QStringLiteral("x")); // as the context menu's paste would
            const auto press = [&dlg](Qt::Key key, const QString& text = {}) {
                QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
                QApplication::sendEvent(dlg.txtPort, &down);
            };
            press(Qt::Key_Home);
            press(Qt::Key_Delete, QStringLiteral("\x7f"));
            press(Qt::Key_End);
            press(Qt::Key_Backspace, QStringLiteral("\b"));
            QCOMPARE(dlg.txtPort->text(), QStringLiteral("08"));
            dlg.txtPort->setFocus();
            QTest::keyClick(dlg.txtPort, Qt::Key_Tab);
            QVERIFY(!dlg.txtPort->hasFocus());
            typePort(dlg, QStringLiteral("40000"));
            dlg.btnOK->click();
            QVERIFY(app.toolkit.messages.value(0).contains(QStringLiteral("-32768 до 32767")));
            QVERIFY(dlg.isVisible());
        });
        QCOMPARE(app.record().proxyPort, qint16{-1});
    }

    void handEditedFlagsShowGreyAndAreKept() {
        Started app("7\r\n2\r\n80\r\n\"h\"\r\n");
        app.options([](frmOpt& dlg) {
            QCOMPARE(dlg.chkProxy->checkState(), Qt::PartiallyChecked);
            QCOMPARE(proxyControls(dlg), "on"); // non-zero counts as on
            dlg.btnOK->click();
        });
        QCOMPARE(app.record(), (Options{2, 7, QStringLiteral("h"), 80}));
        QVERIFY(app.window.pagetext().isEmpty()); // only 1 refreshes at start
        // 7 is neither on (1) nor off (0): the transfer stays as it was, direct.
        QCOMPARE(app.window.Inet1().AccessType(), platform::Inet::Access::Direct);
        app.options([](frmOpt& dlg) {
            QTest::mouseClick(dlg.chkProxy, Qt::LeftButton); // greyed -> ticked
            QTest::mouseClick(dlg.chkProxy, Qt::LeftButton); // -> clear, never grey again
            QCOMPARE(dlg.chkProxy->checkState(), Qt::Unchecked);
            dlg.btnOK->click();
        });
        QCOMPARE(app.record().useProxy, quint8{0});
    }
};

QTEST_MAIN(TestFrmOpt)
#include "tst_frmopt.moc"
