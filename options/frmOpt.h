#pragma once

#include "options/mainhost.h"
#include "options/options.h"
#include "options/optionsfile.h"
#include "platform/core/toolkit.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace options {

class PortValidator;

// The options dialog. It owns the options record for the whole run; its controls are the
// record's visible copy. One instance, hidden by OK and Cancel, never destroyed.
class frmOpt final : public QDialog {
    Q_OBJECT
public:
    frmOpt(MainHost& main, platform::Toolkit& toolkit, QWidget* owner = nullptr);
    Q_DISABLE_COPY_MOVE(frmOpt)

    void setVisible(bool visible) override;

    [[nodiscard]] const Options& record() const { return Options_; }
    void setRecord(const Options& opt) { Options_ = opt; }

    void LoadOpt();
    // False when options.opt could not be written.
    bool SaveOpt();
    void DoOptions();
    void btnCancel_Click();
    void btnOK_Click();
    void chkProxy_Click();
    void txtPort_KeyPress(qint16& KeyAscii);

    // Made when the dialog is first shown.
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
    QCheckBox* chkROS = nullptr;
    QCheckBox* chkProxy = nullptr;
    QLineEdit* txtProxy = nullptr;
    QLineEdit* txtPort = nullptr;
    QLabel* lblProxy = nullptr;
    QLabel* lblPort = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    void buildControls();
    void showRecord();

    MainHost& main_;
    platform::Toolkit& toolkit_;
    PortValidator* portValidator_ = nullptr;
    Options Options_;
    KnownBytes knownFile_; // options.opt as read whole or last written
};

} // namespace options
