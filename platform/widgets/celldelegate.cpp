#include "platform/widgets/celldelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace platform {

namespace {

// Text that Qt lays out on one line, left to right, and ends in no blank.
bool onOneLineLeftToRight(const QString& text) {
    if (text.isEmpty() || text.back().isSpace())
        return false;
    for (const QChar c : text) {
        switch (c.direction()) {
        case QChar::DirR:
        case QChar::DirAL:
        case QChar::DirRLE:
        case QChar::DirRLO:
        case QChar::DirRLI:
        case QChar::DirFSI:
        case QChar::DirB:
            return false;
        default:
            break;
        }
        if (c == QChar::LineSeparator || c == u'\t')
            return false;
    }
    return true;
}

const QStyle& styleOf(const QStyleOptionViewItem& option) {
    return option.widget != nullptr ? *option.widget->style() : *QApplication::style();
}

int textMargin(const QStyleOptionViewItem& option) {
    return styleOf(option).pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1;
}

} // namespace

CellDelegate::CellDelegate(int rows, int cols, QObject* parent)
    : QStyledItemDelegate(parent), rows_(rows), cols_(cols) {}

void CellDelegate::forget(int row, int col) {
    if (!cells_.empty())
        cells_.at(static_cast<std::size_t>(row) * cols_ + col) = Shaped{};
}

void CellDelegate::forgetAll() {
    std::fill(cells_.begin(), cells_.end(), Shaped{});
    margin_ = -1;
}

const CellDelegate::Shaped& CellDelegate::shaped(const QString& text, const QFont& font,
                                                 const QModelIndex& index) const {
    if (cells_.empty()) // made when the first text is: an empty grid at start needs none
        cells_.resize(static_cast<std::size_t>(rows_) * cols_);
    Shaped& cell = cells_.at(static_cast<std::size_t>(index.row()) * cols_ + index.column());
    if (cell.made && cell.text == text && cell.font == font)
        return cell;
    cell = Shaped{};
    cell.text = text;
    cell.font = font;
    cell.made = true;
    if (!onOneLineLeftToRight(text))
        return cell;
    auto layout = std::make_shared<QTextLayout>(text, font);
    QTextOption textOption;
    textOption.setWrapMode(QTextOption::ManualWrap);
    textOption.setTextDirection(Qt::LeftToRight);
    layout->setTextOption(textOption);
    layout->beginLayout();
    QTextLine line = layout->createLine();
    if (line.isValid())
        line.setLineWidth(1e6);
    const bool oneLine = line.isValid() && !layout->createLine().isValid();
    layout->endLayout();
    if (!oneLine)
        return cell;
    cell.width = line.naturalTextWidth();
    cell.height = layout->boundingRect().size().toSize().height();
    cell.layout = std::move(layout);
    return cell;
}

bool CellDelegate::paintsLikeTheStyle(const QStyleOptionViewItem& option) const {
    // Styles known to draw an item's text with the common style's own code.
    const QString style = styleOf(option).name();
    return (style.compare(u"fusion", Qt::CaseInsensitive) == 0 ||
            style.compare(u"windows", Qt::CaseInsensitive) == 0) &&
           option.features == QStyleOptionViewItem::HasDisplay &&
           // The focus frame hugs the text: the current cell, one at most, is the style's.
           !(option.state & (QStyle::State_Editing | QStyle::State_HasFocus)) &&
           option.direction == Qt::LeftToRight;
}

int CellDelegate::width(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    opt.state &= ~QStyle::State_HasFocus; // the size does not depend on it
    if (paintsLikeTheStyle(opt)) {
        const Shaped& cell = shaped(opt.text, opt.font, index);
        if (cell.layout) {
            const int text = static_cast<int>(std::ceil(cell.width));
            if (margin_ < 0)
                margin_ = QStyledItemDelegate::sizeHint(option, index).width() - text;
            return text + margin_;
        }
    }
    return QStyledItemDelegate::sizeHint(option, index).width();
}

void CellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    // What QStyledItemDelegate::paint does, with the options already made.
    const QStyle& style = styleOf(opt);
    if (!paintsLikeTheStyle(opt) || opt.text.isEmpty())
        return style.drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
    const Shaped& cell = shaped(opt.text, opt.font, index);
    const int margin = textMargin(opt);
    const QRect textRect = opt.rect.adjusted(margin, 0, -margin, 0);
    if (!cell.layout || cell.width > textRect.width())
        return style.drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget); // elided

    // The background and selection as the style draws them, then the text where
    // the style would put it: lines centred as it centres them, in 1/64 pixel steps.
    QStyleOptionViewItem frame = opt;
    frame.text.clear();
    frame.features &= ~QStyleOptionViewItem::HasDisplay;
    style.drawControl(QStyle::CE_ItemViewItem, &frame, painter, opt.widget);

    const Qt::Alignment align = QStyle::visualAlignment(opt.direction, opt.displayAlignment);
    const qint64 spare = qint64{textRect.width()} * 64 - std::llround(cell.width * 64);
    qreal x = 0;
    if (align & Qt::AlignRight) {
        x = static_cast<qreal>(spare) / 64;
    } else if (align & Qt::AlignHCenter) {
        const qint64 half = spare / 2; // whole 1/64 steps, as the layout halves it
        x = static_cast<qreal>(half) / 64;
    }
    const int top = QStyle::alignedRect(Qt::LayoutDirectionAuto, opt.displayAlignment,
                                        QSize(1, cell.height), textRect)
                        .top();

    QPalette::ColorGroup group =
        (opt.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(opt.state & QStyle::State_Active))
        group = QPalette::Inactive;
    painter->save();
    painter->setClipRect(opt.rect, painter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    painter->setPen(opt.palette.color(
        group, (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
    cell.layout->draw(painter, QPointF(textRect.x() + x, top));
    painter->restore();
}

} // namespace platform
