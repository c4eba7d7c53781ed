#include "app/frmMain.h"

#include "about/frmAbout.h"
#include "app/messages.h"
#include "options/frmOpt.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/inputgate.h"
#include "platform/widgets/labelcaption.h"
#include "rates/address.h"
#include "rates/downfile.h"
#include "rates/parsepage.h"
#include "rates/printinfo.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <cstdlib>

namespace app {

frmMain::frmMain(platform::Toolkit& toolkit, platform::ShellOpen& shell, QWidget* parent)
    : QMainWindow(parent), toolkit_(toolkit), shell_(shell),
      Inet1_(QString::fromLatin1(rates::RateAddress)) {
    buildLayout();
    buildMenu();
}

frmMain::~frmMain() = default;

options::frmOpt& frmMain::Opt() {
    if (frmOpt_ == nullptr)
        frmOpt_ = new options::frmOpt(*this, toolkit_, this);
    return *frmOpt_;
}

about::frmAbout& frmMain::About() {
    if (frmAbout_ == nullptr)
        frmAbout_ = new about::frmAbout(shell_, this);
    return *frmAbout_;
}

void frmMain::Form_Load() {
    Loading_ = true;
    Opt().LoadOpt();
    Opt().btnCancel_Click();
    Opt().DoOptions();
    Loading_ = false;
}

void frmMain::btnRefresh_Click() {
    // The controls are disabled while a refresh runs; this also stops one started from code.
    if (refreshing_)
        return;
    refreshing_ = true;
    // Disabling the button moves the focus away; it comes back for the next Space or Enter.
    const bool buttonHadFocus = btnRefresh->hasFocus();
    mnuOptions->setEnabled(false);
    btnRefresh->setEnabled(false);
    btnRefresh->setText(refreshingCaption());
    downfile();
    if (interrupted_) {
        // The wait was ended from outside: the program is ending, and this is no page.
        refreshing_ = false;
        mnuExit_Click();
        return;
    }
    if (!pagetext_.isEmpty()) {
        parsepage();
        printinfo();
    } else {
        toolkit_.MsgBox(this, noConnectionPrompt(), errorTitle());
    }
    btnRefresh->setText(refreshCaption());
    btnRefresh->setEnabled(true);
    mnuOptions->setEnabled(true);
    if (buttonHadFocus)
        btnRefresh->setFocus();
    refreshing_ = false;
}

void frmMain::downfile() {
    // Clicks and keys made while the page downloads are dropped, not replayed afterwards: the
    // disabled controls must not start a second refresh or open a dialog once it ends.
    const platform::InputGate gate;
    interrupted_ = rates::downfile(Inet1_, pagetext_) == platform::Inet::Outcome::Interrupted;
}

void frmMain::parsepage() {
    rates::parsepage(pagetext_, cells_);
}

void frmMain::printinfo() {
    platform::LabelCaption date(*lblDate2);
    platform::LabelCaption usd(*lblUSD);
    rates::printinfo(cells_, *FG, date, usd);
    fitLayout(); // longer values than the layout was drawn for
}

void frmMain::mnuOptions_Click() {
    Opt().exec();
}

void frmMain::mnuAbout_Click() {
    About().exec();
}

void frmMain::mnuExit_Click() {
    if (Opt().SaveOpt()) {
        toolkit_.End();
        return;
    }
    const QString path =
        QFileInfo(QString::fromLatin1(options::OptionsFileName)).absoluteFilePath();
    toolkit_.MsgBox(this, notSavedPrompt(QDir::toNativeSeparators(path)), errorTitle());
    toolkit_.End(EXIT_FAILURE);
}

void frmMain::Form_Unload(qint16& /*Cancel*/) {
    mnuExit_Click();
}

void frmMain::closeEvent(QCloseEvent* event) {
    qint16 Cancel = 0;
    Form_Unload(Cancel);
    event->accept();
}

} // namespace app
