#pragma once

#include "platform/core/shellopen.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace platform {
class ClickLabel;
}

namespace about {

// The About window: where the rates come from, the author, the thanks, and two ways to open
// the author's web site. Fixed content; OK only hides it.
class frmAbout final : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(platform::ShellOpen& shell, QWidget* owner = nullptr);
    Q_DISABLE_COPY_MOVE(frmAbout)

    void Image1_Click();
    void Label4_Click();
    void lblOK_Click();

    QPushButton* lblOK = nullptr;
    QLabel* lbl1 = nullptr;
    platform::ClickLabel* Image1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    platform::ClickLabel* Label4 = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void openWebSite();

    platform::ShellOpen& shell_;
};

} // namespace about
