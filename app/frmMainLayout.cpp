#include "app/frmMain.h"
#include "app/messages.h"
#include "platform/widgets/elidedlabel.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/look.h"
#include "platform/widgets/menukey.h"
#include "platform/widgets/screenroom.h"

#include <QAction>
#include <QEvent>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <algorithm>
#include <array>
#include <kursove/version.h>

namespace app {

namespace {

constexpr int GridRows = 31;
constexpr int GridCols = 6;

// Each header's trailing spaces set its column's width.
const QString FormatString = QStringLiteral(
    "<Валути                                   |<Код   |<За единици валута |<Лева (BGN) "
    "|<За 1 лев  |<Обратен курс     ");

constexpr int ClientWidth = 9810;
constexpr int ClientHeight = 5655;
constexpr int EdgeMargin = 120; // right of the grid and the top row, as on the left
constexpr int LabelGap = 4;     // pixels between a label's text and the next box
constexpr int PushedGap = 8;    // pixels between the date's box and a "1 USD =" it pushes right

// Designed places, in twips: the grid, the button, and the top row from left to right.
struct Box {
    int left, top, width, height;
};
constexpr Box GridBox{120, 600, 9375, 4455};
constexpr Box ButtonBox{240, 5160, 1575, 375};
enum TopRowPlace : std::size_t { DateCaption, DateValue, UsdCaption, UsdValue };
constexpr std::array<Box, 4> TopRow{{{1560, 120, 855, 375},
                                     {2520, 120, 2055, 375},
                                     {5880, 120, 1095, 375},
                                     {6960, 120, 1335, 375}}};

// A value longer than its box shows its beginning up to a "…", and the whole of it in a tip;
// one that fits stays centred.
void showBeginningIfCut(QLabel& label) {
    const bool cut =
        label.fontMetrics().horizontalAdvance(label.text()) > label.contentsRect().width();
    label.setAlignment(cut ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
    label.setToolTip(cut ? label.text() : QString());
}

// A caption's text keeps to the side away from its value and changes sides with the window;
// Qt would place it by the direction of its own (Latin or Cyrillic) text.
void alignCaption(QLabel& label) {
    label.setAlignment(Qt::AlignAbsolute | Qt::AlignVCenter |
                       (label.isRightToLeft() ? Qt::AlignRight : Qt::AlignLeft));
}

QLabel* captionLabel(const QString& text, const QFont& font, bool framed, QWidget* parent) {
    QLabel* label = framed ? new platform::ElidedLabel(text, parent) : new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText); // page text is shown as it is, never as markup
    label->setFont(font);
    if (framed) {
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setAlignment(Qt::AlignCenter);
    } else {
        alignCaption(*label);
    }
    return label;
}

} // namespace

void frmMain::buildLayout() {
    using platform::msSansSerif;
    using platform::twipsRect;
    setWindowTitle(QStringLiteral("Валутни курсове на ЗВТ v%1 KS").arg(kursove::ShortVersion));
    // The sizes a title bar and task switcher use.
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64})
        icon.addFile(QStringLiteral(":/app/kursove-%1.png").arg(size), QSize(size, size));
    setWindowIcon(icon);

    auto* client = new QWidget(this);
    client->setFixedSize(twipsRect(0, 0, ClientWidth, ClientHeight).size());
    platform::paintBackground(*client, platform::teal());
    setCentralWidget(client);

    FG = new platform::FlexGrid(GridRows, GridCols, FormatString, client);
    FG->setPalette(FG->style()->standardPalette()); // a grid, not part of the teal backdrop
    FG->setFont(msSansSerif(9.75));
    FG->setGeometry(twipsRect(GridBox.left, GridBox.top, GridBox.width, GridBox.height));
    FG->setAccessibleName(QStringLiteral("Валутни курсове"));

    btnRefresh = new QPushButton(refreshingCaption(), client);
    btnRefresh->setFont(msSansSerif(9.75));
    // Wide enough for both captions in whatever font the system has.
    buttonWidth_ = std::max(platform::twips(ButtonBox.width), btnRefresh->sizeHint().width());
    btnRefresh->setText(refreshCaption());
    // Enter on the focused button presses it, as Space does; it is not a default button.
    btnRefresh->setAutoDefault(true);
    connect(btnRefresh, &QPushButton::clicked, this, &frmMain::btnRefresh_Click);

    // F5 does what the button does, and only when the button could be pressed.
    auto* refreshKey = new QAction(this);
    refreshKey->setShortcut(QKeySequence(Qt::Key_F5));
    addAction(refreshKey);
    connect(refreshKey, &QAction::triggered, this, [this] {
        if (btnRefresh->isEnabled())
            btnRefresh_Click();
    });

    lblDate = captionLabel(QStringLiteral("Дата:"), msSansSerif(13.5, true), false, client);
    lblDate2 = captionLabel(QStringLiteral("-"), msSansSerif(13.5), true, client);
    // A screen reader reads the value as the name; what it is comes from the caption beside it.
    lblDate2->setAccessibleDescription(QStringLiteral("Дата на курсовете"));
    lblDate->setBuddy(lblDate2);
    Label1 = captionLabel(QStringLiteral("1 USD ="), msSansSerif(12, true), false, client);
    lblUSD = captionLabel(QStringLiteral("ЛВ"), msSansSerif(12, true), true, client);
    lblUSD->setAccessibleDescription(QStringLiteral("Курс на щатския долар в лева"));
    Label1->setBuddy(lblUSD);

    setTabOrder(FG, btnRefresh);
    fitLayout();
}

// The layout is drawn for its design font; a wider font or longer values widen the top row's
// labels (pushing the ones to their right) and the grid's columns, and the window grows to
// hold them, as far as its screen has room (see clientRoom). Past that the grid scrolls and a
// page text too long for the screen shows cut. Each fit starts afresh, so ordinary values after
// long ones bring the window back; it is never smaller than its design where the screen has
// room for that, and on a smaller screen (or at a larger scale) the grid gives up width and
// height. This also places the top row in the first place.
void frmMain::fitLayout() {
    using platform::twips;
    const QSize room = clientRoom();

    std::array<int, TopRow.size()> widths{};
    const std::array<QLabel*, TopRow.size()> row{lblDate, lblDate2, Label1, lblUSD};
    for (std::size_t i = 0; i < row.size(); ++i)
        widths.at(i) =
            std::max(twips(TopRow.at(i).width), row.at(i)->sizeHint().width() + LabelGap);
    int pull = 0; // how far the row moves left of its design places
    const auto place = [&] {
        int right = 0;
        for (std::size_t i = 0; i < row.size(); ++i) {
            const int gap = i == UsdCaption ? PushedGap : 0;
            const int left = std::max(twips(TopRow.at(i).left) - pull, right + gap);
            row.at(i)->setGeometry(left, twips(TopRow.at(i).top), widths.at(i),
                                   twips(TopRow.at(i).height));
            right = left + widths.at(i);
        }
        return right + twips(EdgeMargin);
    };
    // What does not fit is given up by the values down to their design width, the date first;
    // then the row moves left, up to the margin; on a screen narrower still, the values give
    // up all but a letter and the "…".
    const auto giveUp = [&](bool pastDesign) {
        for (const std::size_t value : {DateValue, UsdValue}) {
            const int least =
                pastDesign ? row.at(value)->fontMetrics().horizontalAdvance(QStringLiteral("0…")) +
                                 LabelGap
                           : twips(TopRow.at(value).width);
            const int give = std::min(place() - room.width(), widths.at(value) - least);
            if (give > 0)
                widths.at(value) -= give;
        }
    };
    giveUp(false);
    pull = std::clamp(place() - room.width(), 0, twips(TopRow.front().left - EdgeMargin));
    giveUp(true);
    const int rowRight = place();
    for (QLabel* value : {lblDate2, lblUSD})
        showBeginningIfCut(*value);

    const int gridMax = room.width() - twips(GridBox.left) - twips(EdgeMargin);
    FG->fitColumns(gridMax - FG->chromeWidth());
    // Short of height, the grid gives it up (down to its header and two rows) and the button
    // moves up with its bottom.
    const int leastGrid = FG->horizontalHeader()->sizeHint().height() +
                          2 * FG->verticalHeader()->defaultSectionSize() + FG->chromeWidth();
    const int gridHeight =
        std::max(std::min(leastGrid, twips(GridBox.height)),
                 twips(GridBox.height) - std::max(0, twips(ClientHeight) - room.height()));
    const int shorter = twips(GridBox.height) - gridHeight;
    FG->setGeometry(twips(GridBox.left), twips(GridBox.top),
                    std::min(std::max(FG->fittingWidth(), twips(GridBox.width)), gridMax),
                    gridHeight);
    btnRefresh->setGeometry(twips(ButtonBox.left), twips(ButtonBox.top) - shorter, buttonWidth_,
                            twips(ButtonBox.height));
    const int width = std::min(
        std::max({twips(ClientWidth), rowRight, FG->geometry().right() + 1 + twips(EdgeMargin)}),
        room.width());
    centralWidget()->setFixedSize(width, twips(ClientHeight) - shorter);
    // Placed left to right above; right to left (-reverse, or a right-to-left language) the
    // whole client is mirrored, as a layout would mirror it.
    if (isRightToLeft()) {
        for (QWidget* child : centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            child->setGeometry(
                QStyle::visualRect(Qt::RightToLeft, centralWidget()->rect(), child->geometry()));
    }
    layout()->activate(); // the window's new size now, not when the layout's turn comes
    fittedFrame_ = frameExtra();
    platform::keepOnScreen(*this);
}

// What the window manager's frame adds, or nothing while the window has none yet.
QSize frmMain::frameExtra() const {
    return isVisible() ? frameGeometry().size() - size() : QSize();
}

// The frame is known only once the window manager has framed the window, after it is shown:
// a fit made before (a refresh at start) is made again with it.
void frmMain::refitForFrame() {
    if (isVisible() && frameExtra() != fittedFrame_)
        fitLayout();
}

void frmMain::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    refitForFrame();
}

void frmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    refitForFrame();
}

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::LayoutDirectionChange) {
        for (QLabel* caption : {lblDate, Label1})
            alignCaption(*caption);
        fitLayout();
    }
}

// The most the client area may take for the window, frame and menu included, to show whole on
// its screen; where the window cannot be moved, from where it was placed.
QSize frmMain::clientRoom() const {
    // The frame and the window are measured together, never the window against the client:
    // the window system may still report the size before the last fit.
    const QSize beside = frameExtra() + QSize(0, menuBar()->sizeHint().height());
    return platform::roomOnScreen(*this) - beside;
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
    platform::addMenuKey(*menuBar(), *this);
    // The window keeps its layout's size: nothing in it follows a change of size.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace app
