#include "platform/widgets/elidedlabel.h"

#include <QPainter>
#include <QStyle>

namespace platform {

void ElidedLabel::paintEvent(QPaintEvent* event) {
    // Where QLabel puts a plain text: inside its margin and, beside a frame, half an "x" clear
    // of it on the side the text is aligned to.
    const Qt::LayoutDirection direction =
        text().isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
    const Qt::Alignment align = QStyle::visualAlignment(direction, alignment());
    QRect box = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    int indent = this->indent();
    if (indent < 0 && frameWidth() > 0)
        indent = fontMetrics().horizontalAdvance(u'x') / 2 - margin();
    if (indent > 0 && (align & Qt::AlignLeft) != 0)
        box.setLeft(box.left() + indent);
    if (indent > 0 && (align & Qt::AlignRight) != 0)
        box.setRight(box.right() - indent);
    if (fontMetrics().horizontalAdvance(text()) <= box.width()) {
        QLabel::paintEvent(event); // it fits: drawn as any label
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    const int flags =
        static_cast<int>(align) |
        (direction == Qt::LeftToRight ? Qt::TextForceLeftToRight : Qt::TextForceRightToLeft);
    style()->drawItemText(&painter, box, flags, palette(), isEnabled(),
                          fontMetrics().elidedText(text(), Qt::ElideRight, box.width()),
                          foregroundRole());
}

} // namespace platform
