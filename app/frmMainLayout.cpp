#include "app/frmMain.h"
#include "app/messages.h"
#include "platform/flexgrid.h"
#include "platform/look.h"

#include <QAction>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>

namespace app {

namespace {

constexpr int GridRows = 31;
constexpr int GridCols = 6;

// Each header's trailing spaces set its column's width.
const QString FormatString = QStringLiteral(
    "<Валути                                   |<Код   |<За единици валута |<Лева (BGN) "
    "|<За 1 лев  |<Обратен курс     ");

QLabel* captionLabel(const QString& text, const QFont& font, bool framed, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText); // page text is shown as it is, never as markup
    label->setFont(font);
    if (framed) {
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setAlignment(Qt::AlignCenter);
    } else {
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return label;
}

} // namespace

void frmMain::buildLayout() {
    using platform::msSansSerif;
    using platform::twipsRect;
    setWindowTitle(QStringLiteral("Валутни курсове на ЗВТ v1.4 KS"));
    // The sizes a title bar and task switcher use; decoding the large ones slowed start-up.
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64})
        icon.addFile(QStringLiteral(":/app/kursove-%1.png").arg(size), QSize(size, size));
    setWindowIcon(icon);

    auto* client = new QWidget(this);
    client->setFixedSize(twipsRect(0, 0, 9810, 5655).size());
    platform::paintBackground(*client, platform::teal());
    setCentralWidget(client);

    FG = new platform::FlexGrid(GridRows, GridCols, FormatString, client);
    FG->setPalette(FG->style()->standardPalette()); // a grid, not part of the teal backdrop
    FG->setFont(msSansSerif(9.75));
    FG->setGeometry(twipsRect(120, 600, 9375, 4455));
    FG->setAccessibleName(QStringLiteral("Валутни курсове"));

    btnRefresh = new QPushButton(refreshCaption(), client);
    btnRefresh->setFont(msSansSerif(9.75));
    btnRefresh->setGeometry(twipsRect(240, 5160, 1575, 375));
    btnRefresh->setAutoDefault(false);
    connect(btnRefresh, &QPushButton::clicked, this, &frmMain::btnRefresh_Click);

    lblDate = captionLabel(QStringLiteral("Дата:"), msSansSerif(13.5, true), false, client);
    lblDate->setGeometry(twipsRect(1560, 120, 855, 375));
    lblDate2 = captionLabel(QStringLiteral("-"), msSansSerif(13.5), true, client);
    lblDate2->setGeometry(twipsRect(2520, 120, 2055, 375));
    lblDate2->setAccessibleName(QStringLiteral("Дата на курсовете"));
    Label1 = captionLabel(QStringLiteral("1 USD ="), msSansSerif(12, true), false, client);
    Label1->setGeometry(twipsRect(5880, 120, 1095, 375));
    lblUSD = captionLabel(QStringLiteral("ЛВ"), msSansSerif(12, true), true, client);
    lblUSD->setGeometry(twipsRect(6960, 120, 1335, 375));
    lblUSD->setAccessibleName(QStringLiteral("Курс на щатския долар в лева"));

    setTabOrder(FG, btnRefresh);
}

void frmMain::buildMenu() {
    QMenu* mnuMenu = menuBar()->addMenu(QStringLiteral("Меню"));
    mnuOptions = mnuMenu->addAction(QStringLiteral("Настройки"));
    mnuMenu->addSeparator(); // mnuDev1
    mnuExit = mnuMenu->addAction(QStringLiteral("Изход"));
    mnuAbout = menuBar()->addAction(QStringLiteral("За програмата"));
    connect(mnuOptions, &QAction::triggered, this, &frmMain::mnuOptions_Click);
    connect(mnuExit, &QAction::triggered, this, &frmMain::mnuExit_Click);
    connect(mnuAbout, &QAction::triggered, this, &frmMain::mnuAbout_Click);
    // The window keeps its layout's size: nothing in it follows a change of size.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace app
