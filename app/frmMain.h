#pragma once

#include "options/mainhost.h"
#include "platform/core/inet.h"
#include "platform/core/shellopen.h"
#include "platform/core/toolkit.h"
#include "rates/cells.h"

#include <QMainWindow>

class QAction;
class QLabel;
class QPushButton;

namespace platform {
class FlexGrid;
}
namespace options {
class frmOpt;
}
namespace about {
class frmAbout;
}

namespace app {

// The startup window: the rate grid, the date and US dollar labels, the refresh command and
// the menu. It owns the page text, the cells and the transfer.
class frmMain final : public QMainWindow, public options::MainHost {
    Q_OBJECT
public:
    frmMain(platform::Toolkit& toolkit, platform::ShellOpen& shell, QWidget* parent = nullptr);
    ~frmMain() override;
    Q_DISABLE_COPY_MOVE(frmMain)

    void Form_Load();
    void btnRefresh_Click() override;
    void printinfo();
    void downfile();
    void mnuOptions_Click();
    void mnuAbout_Click();
    void mnuExit_Click();

    [[nodiscard]] bool Loading() const override { return Loading_; }
    void showMain() override { show(); }
    platform::Inet& Inet1() override { return Inet1_; }

    // The other windows, each made on first use and kept, hidden, for the rest of the run.
    options::frmOpt& Opt();
    about::frmAbout& About();

    [[nodiscard]] const QString& pagetext() const { return pagetext_; }
    [[nodiscard]] const rates::Cells& cells() const { return cells_; }

    platform::FlexGrid* FG = nullptr;
    QPushButton* btnRefresh = nullptr;
    QLabel* lblDate = nullptr;
    QLabel* lblDate2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lblUSD = nullptr;
    QAction* mnuOptions = nullptr;
    QAction* mnuExit = nullptr;
    QAction* mnuAbout = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildLayout();
    void buildMenu();
    void fitLayout();
    [[nodiscard]] QSize clientRoom() const;
    [[nodiscard]] QSize frameExtra() const;
    void refitForFrame();
    void parsepage();
    void Form_Unload(qint16& Cancel);

    platform::Toolkit& toolkit_;
    platform::ShellOpen& shell_;
    platform::Inet Inet1_;
    QString pagetext_;
    rates::Cells cells_;
    int buttonWidth_ = 0;
    QSize fittedFrame_;
    bool Loading_ = false;
    bool refreshing_ = false;
    bool interrupted_ = false;
    options::frmOpt* frmOpt_ = nullptr;
    about::frmAbout* frmAbout_ = nullptr;
};

} // namespace app
