#include "options/frmOpt.h"

#include "options/dooptions.h"
#include "options/optionsfile.h"
#include "options/portfilter.h"
#include "platform/widgets/look.h"
#include "rates/numread.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>
#include <limits>

namespace options {

namespace {

// Check-box states as the record stores them: 0 clear, 1 ticked, 2 greyed. Any larger value
// (only from a hand-edited file) is shown greyed - neither on nor off, just as DoOptions
// treats it - and kept as it was unless the user changes the box.
constexpr quint8 Grey = 2;

void showState(QCheckBox& box, quint8 value) {
    if (value == 0) {
        box.setCheckState(Qt::Unchecked);
        box.setTristate(false);
    } else if (value == 1) {
        box.setCheckState(Qt::Checked);
        box.setTristate(false);
    } else {
        box.setCheckState(Qt::PartiallyChecked);
    }
}

quint8 storedState(const QCheckBox& box, quint8 recorded) {
    switch (box.checkState()) {
    case Qt::Unchecked:
        return 0;
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        break;
    }
    return recorded >= Grey ? recorded : Grey;
}

QString portRangeMessage() {
    return QStringLiteral("Портът трябва да е цяло число от %1 до %2.")
        .arg(std::numeric_limits<qint16>::min())
        .arg(std::numeric_limits<qint16>::max());
}

} // namespace

frmOpt::frmOpt(MainHost& main, platform::Toolkit& toolkit, QWidget* owner)
    : QDialog(owner), main_(main), toolkit_(toolkit) {
    platform::setUpDialog(*this, QStringLiteral("Настройки"), 5700, 3345);
}

// The controls are made when the dialog is first shown: the program starts, reads its options
// and often never opens this window.
void frmOpt::setVisible(bool visible) {
    if (visible && btnOK == nullptr) {
        buildControls();
        showRecord();
    }
    QDialog::setVisible(visible);
}

void frmOpt::buildControls() {
    using platform::twipsRect;
    const QFont boxFont = platform::msSansSerif(9.75);

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setGeometry(twipsRect(1200, 2760, 1215, 375));
    btnCancel = new QPushButton(QStringLiteral("Отказ"), this);
    btnCancel->setGeometry(twipsRect(3000, 2760, 1215, 375));
    // Enter on a focused button presses it, as Space does; neither is the default button,
    // so Enter elsewhere in the dialog does nothing (see keyPressEvent).
    for (QPushButton* button : {btnOK, btnCancel}) {
        button->setAutoDefault(true);
        button->setDefault(false);
    }

    chkROS = new QCheckBox(QStringLiteral("При стартиране Обнови автоматично"), this);
    chkROS->setGeometry(twipsRect(480, 720, 4215, 255));
    chkProxy = new QCheckBox(QStringLiteral("Използвай Прокси Сървър"), this);
    chkProxy->setGeometry(twipsRect(480, 1320, 3015, 255));

    txtProxy = new QLineEdit(this);
    txtProxy->setGeometry(twipsRect(1080, 1800, 2535, 285));
    txtProxy->setAccessibleName(QStringLiteral("Прокси сървър"));
    txtProxy->setMaxLength(std::numeric_limits<int>::max()); // no length limit
    txtPort = new QLineEdit(QStringLiteral("1080"), this);
    txtPort->setGeometry(twipsRect(4320, 1800, 615, 285));
    txtPort->setAccessibleName(QStringLiteral("Порт на прокси сървъра"));
    txtPort->setMaxLength(std::numeric_limits<int>::max());
    portValidator_ = new PortValidator(txtPort);
    txtPort->setValidator(portValidator_);
    txtPort->installEventFilter(this);

    lblProxy = new QLabel(QStringLiteral("Прокси:"), this);
    lblProxy->setGeometry(twipsRect(240, 1800, 855, 255));
    lblProxy->setBuddy(txtProxy);
    lblPort = new QLabel(QStringLiteral("Порт:"), this);
    lblPort->setGeometry(twipsRect(3720, 1800, 615, 255));
    lblPort->setBuddy(txtPort);

    for (QWidget* widget : std::initializer_list<QWidget*>{chkROS, chkProxy, lblProxy, lblPort})
        widget->setFont(boxFont);
    for (QWidget* widget : std::initializer_list<QWidget*>{txtProxy, txtPort, lblProxy, lblPort})
        widget->setEnabled(false);

    setTabOrder(btnOK, btnCancel);
    setTabOrder(btnCancel, chkROS);
    setTabOrder(chkROS, chkProxy);
    setTabOrder(chkProxy, txtProxy);
    setTabOrder(txtProxy, txtPort);

    connect(btnOK, &QPushButton::clicked, this, &frmOpt::btnOK_Click);
    connect(btnCancel, &QPushButton::clicked, this, &frmOpt::btnCancel_Click);
    // Raised by the user's toggle and by a program change of state, never by the same state.
    connect(chkProxy, &QCheckBox::stateChanged, this, &frmOpt::chkProxy_Click);
    // The user toggles between clear and ticked; greyed is only ever shown from the record.
    for (QCheckBox* box : {chkROS, chkProxy}) {
        connect(box, &QCheckBox::clicked, box, [box] {
            if (box->checkState() != Qt::PartiallyChecked)
                box->setTristate(false);
        });
    }
}

void frmOpt::LoadOpt() {
    knownFile_ = options::LoadOpt(Options_);
}

bool frmOpt::SaveOpt() {
    return options::SaveOpt(Options_, knownFile_);
}

void frmOpt::DoOptions() {
    options::DoOptions(Options_, main_, toolkit_);
}

void frmOpt::showRecord() {
    showState(*chkROS, Options_.refreshOnStart);
    showState(*chkProxy, Options_.useProxy);
    txtProxy->setText(Options_.proxyHost);
    portValidator_->setAllowMinus(Options_.proxyPort < 0);
    txtPort->setText(QString::number(Options_.proxyPort));
}

void frmOpt::btnCancel_Click() {
    // Controls not made yet will show the record when they are.
    if (btnOK != nullptr)
        showRecord();
    hide();
}

void frmOpt::btnOK_Click() {
    // The port is checked first: a refused port changes neither the record nor the transfer.
    const double port = std::nearbyint(rates::readNumber(txtPort->text()));
    if (!(port >= std::numeric_limits<qint16>::min() &&
          port <= std::numeric_limits<qint16>::max())) {
        toolkit_.MsgBox(this, portRangeMessage(), windowTitle());
        return;
    }
    Options_.refreshOnStart = storedState(*chkROS, Options_.refreshOnStart);
    Options_.useProxy = storedState(*chkProxy, Options_.useProxy);
    // A line break (pasted into the box) would split the host's line in options.opt.
    Options_.proxyHost = txtProxy->text().remove(u'\r').remove(u'\n');
    Options_.proxyPort = static_cast<qint16>(port);
    // The boxes show what was stored ("proxy.local" for a pasted "proxy\r\n.local", 80 for
    // "080"), so the dialog and the record agree when it opens again.
    txtProxy->setText(Options_.proxyHost);
    txtPort->setText(QString::number(Options_.proxyPort));
    DoOptions();
    hide();
}

void frmOpt::chkProxy_Click() {
    const bool on = chkProxy->checkState() != Qt::Unchecked;
    for (QWidget* widget : std::initializer_list<QWidget*>{lblProxy, lblPort, txtProxy, txtPort})
        widget->setEnabled(on);
}

void frmOpt::txtPort_KeyPress(qint16& KeyAscii) {
    constexpr qint16 Backspace = 8;
    if (KeyAscii == Backspace || (KeyAscii >= '0' && KeyAscii <= '9'))
        return;
    KeyAscii = 0;
}

bool frmOpt::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtPort && event->type() == QEvent::KeyPress) {
        const auto code = keyAsciiOf(*static_cast<QKeyEvent*>(event));
        if (!code)
            return false; // keys that type nothing (arrows, Home, End, Delete) work as usual
        qint16 KeyAscii = *code;
        txtPort_KeyPress(KeyAscii);
        return KeyAscii == 0;
    }
    return QDialog::eventFilter(watched, event);
}

void frmOpt::keyPressEvent(QKeyEvent* event) {
    // Neither button is bound to Enter or Escape.
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

// Reached only by closing the window from its title bar: that acts as Cancel.
void frmOpt::reject() {
    btnCancel_Click();
}

} // namespace options
