#include "app/frmMain.h"
#include "app/messages.h"
#include "platform/widgets/fileicon.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/look.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
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

// A value longer than its box shows its beginning, and the whole of it in a tip; one that
// fits stays centred.
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
    auto* label = new QLabel(text, parent);
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
    // The sizes a title bar and task switcher use, each read when the window system asks.
    QList<platform::IconFile> icons;
    for (const int size : {16, 24, 32, 48, 64})
        icons.append({QSize(size, size), QStringLiteral(":/app/kursove-%1.png").arg(size)});
    setWindowIcon(platform::iconFromFiles(icons));

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
// hold them, up to the width of the screen it is on. Past that the grid scrolls sideways and
// a page text too long for the screen shows cut. Each fit starts afresh, so ordinary values
// after long ones bring the window back; it never gets narrower than its design. This also
// places the top row in the first place.
void frmMain::fitLayout() {
    using platform::twips;
    const int maxWidth = std::max(twips(ClientWidth), widestClient());

    std::array<int, TopRow.size()> widths{};
    const std::array<QLabel*, TopRow.size()> row{lblDate, lblDate2, Label1, lblUSD};
    for (std::size_t i = 0; i < row.size(); ++i)
        widths.at(i) =
            std::max(twips(TopRow.at(i).width), row.at(i)->sizeHint().width() + LabelGap);
    const auto place = [&] {
        int right = 0;
        for (std::size_t i = 0; i < row.size(); ++i) {
            const int gap = i == UsdCaption ? PushedGap : 0;
            const int left = std::max(twips(TopRow.at(i).left), right + gap);
            row.at(i)->setGeometry(left, twips(TopRow.at(i).top), widths.at(i),
                                   twips(TopRow.at(i).height));
            right = left + widths.at(i);
        }
        return right + twips(EdgeMargin);
    };
    // The values give up what does not fit, the date first; never below their design width.
    int excess = place() - maxWidth;
    for (const std::size_t value : {DateValue, UsdValue}) {
        const int give = std::min(excess, widths.at(value) - twips(TopRow.at(value).width));
        if (give > 0) {
            widths.at(value) -= give;
            excess -= give;
        }
    }
    const int rowRight = place();
    for (QLabel* value : {lblDate2, lblUSD})
        showBeginningIfCut(*value);

    const int gridMax = maxWidth - twips(GridBox.left) - twips(EdgeMargin);
    FG->fitColumns(gridMax - FG->chromeWidth());
    FG->setGeometry(twips(GridBox.left), twips(GridBox.top),
                    std::clamp(FG->fittingWidth(), twips(GridBox.width), gridMax),
                    twips(GridBox.height));
    btnRefresh->setGeometry(twips(ButtonBox.left), twips(ButtonBox.top), buttonWidth_,
                            twips(ButtonBox.height));
    const int width =
        std::max({twips(ClientWidth), rowRight, FG->geometry().right() + 1 + twips(EdgeMargin)});
    centralWidget()->setFixedSize(width, centralWidget()->height());
    // Placed left to right above; right to left (-reverse, or a right-to-left language) the
    // whole client is mirrored, as a layout would mirror it.
    if (isRightToLeft()) {
        for (QWidget* child : centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            child->setGeometry(
                QStyle::visualRect(Qt::RightToLeft, centralWidget()->rect(), child->geometry()));
    }
    fittedFrame_ = frameWidth();
    keepOnScreen();
}

// The width the window manager's frame adds, or 0 while the window has none yet.
int frmMain::frameWidth() const {
    return isVisible() ? frameGeometry().width() - width() : 0;
}

// The frame is known only once the window manager has framed the window, after it is shown:
// a fit made before (a refresh at start) is made again with it.
void frmMain::refitForFrame() {
    if (isVisible() && frameWidth() != fittedFrame_)
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

// The widest the client area may be for the window to fit the screen it is on, frame included.
int frmMain::widestClient() const {
    const QScreen* where = screen();
    if (where == nullptr)
        return QWIDGETSIZE_MAX;
    return where->availableGeometry().width() - frameWidth();
}

// A window that grew past the screen's right edge moves left to show whole.
void frmMain::keepOnScreen() {
    if (!isVisible() || screen() == nullptr)
        return;
    layout()->activate(); // the new size now, not when the layout's turn comes
    const QRect area = screen()->availableGeometry();
    const QRect frame = frameGeometry();
    if (frame.right() > area.right())
        move(pos() - QPoint(std::min(frame.right() - area.right(), frame.left() - area.left()), 0));
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
    // F10 opens the menu, as in most desktop programs (Alt too, by the style).
    auto* menuKey = new QAction(this);
    menuKey->setShortcut(QKeySequence(Qt::Key_F10));
    addAction(menuKey);
    connect(menuKey, &QAction::triggered, this,
            [this, mnuMenu] { menuBar()->setActiveAction(mnuMenu->menuAction()); });
    // The window keeps its layout's size: nothing in it follows a change of size.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace app
