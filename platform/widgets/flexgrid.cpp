#include "platform/widgets/flexgrid.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

namespace platform {

namespace {

constexpr int CellPadding = 6; // room beside a header's text
constexpr int RowPadding = 4;  // room above and below a line of text

// A text with line breaks or tabs shows on one line; as given, it stays readable through
// TextMatrix.
constexpr int RawTextRole = Qt::UserRole;

QString oneLine(QString text) {
    for (QChar& c : text) {
        if (c == u'\r' || c == u'\n' || c == u'\t')
            c = u' ';
    }
    return text;
}

} // namespace

FlexGrid::FlexGrid(int rows, int cols, const QString& formatString, QWidget* parent)
    : QTableWidget(rows - 1, cols, parent), needed_(static_cast<std::size_t>(rows * cols), -1),
      limit_(QWIDGETSIZE_MAX) {
    verticalHeader()->hide();
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setWordWrap(false);
    // Tab leaves the grid for the next control; the arrow keys move between cells.
    setTabKeyNavigation(false);
    applyFormatString(formatString);
}

void FlexGrid::applyFormatString(const QString& formatString) {
    const QStringList segments = formatString.split(u'|');
    for (int col = 0; col < columnCount() && col < segments.size(); ++col) {
        QString header = segments.at(col);
        Qt::Alignment align = Qt::AlignLeft;
        if (header.startsWith(u'<')) {
            header.remove(0, 1);
        } else if (header.startsWith(u'^')) {
            header.remove(0, 1);
            align = Qt::AlignHCenter;
        } else if (header.startsWith(u'>')) {
            header.remove(0, 1);
            align = Qt::AlignRight;
        }
        auto* item = new QTableWidgetItem(header);
        item->setTextAlignment(align | Qt::AlignVCenter);
        setHorizontalHeaderItem(col, item);
    }
}

// Everything measured is measured again in the new font. (Nothing is measured in the font the
// grid is made with: its owner sets the one it shows.)
void FlexGrid::fitToFont() {
    horizontalHeader()->setFont(font());
    const QFontMetrics metrics(font());
    verticalHeader()->setMinimumSectionSize(metrics.height());
    verticalHeader()->setDefaultSectionSize(metrics.height() + RowPadding);
    std::fill(needed_.begin(), needed_.end(), -1);
    fitColumns(limit_);
}

// Row 0 is the header: its text, trailing spaces included, with room beside it. A cell is
// measured as the view's delegate draws it, margins included, and one pixel for the grid line.
int FlexGrid::neededWidth(int row, int col, const QFontMetrics& metrics,
                          const QStyleOptionViewItem& option) {
    int& needed = neededSlot(row, col);
    if (needed < 0) {
        if (row == 0) {
            const QTableWidgetItem* header = horizontalHeaderItem(col);
            needed =
                header != nullptr ? metrics.horizontalAdvance(header->text()) + CellPadding : 0;
        } else {
            const QTableWidgetItem* cell = item(row - 1, col);
            needed = cell != nullptr
                         ? itemDelegate()->sizeHint(option, indexFromItem(cell)).width() + 1
                         : 0;
        }
    }
    return needed;
}

void FlexGrid::fitColumns(int limit) {
    limit_ = limit;
    const QFontMetrics metrics(font());
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    for (int col = 0; col < columnCount(); ++col) {
        int width = 0;
        for (int row = 0; row < Rows(); ++row)
            width = std::max(width, neededWidth(row, col, metrics, option));
        setColumnWidth(col, std::min(width, limit));
    }
}

void FlexGrid::changeEvent(QEvent* event) {
    QTableWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fitToFont();
}

void FlexGrid::setTextMatrix(int row, int col, const QString& text) {
    if (row == 0) {
        if (QTableWidgetItem* header = horizontalHeaderItem(col))
            header->setText(text);
    } else {
        QTableWidgetItem* cell = item(row - 1, col);
        if (cell == nullptr) {
            cell = new QTableWidgetItem;
            setItem(row - 1, col, cell);
        } else if (TextMatrix(row, col) == text) {
            return; // the same rate as before: nothing to draw or measure again
        }
        const QString shown = oneLine(text);
        cell->setText(shown);
        // The text as given is kept apart only where the cell shows it otherwise.
        if (shown != text)
            cell->setData(RawTextRole, text);
        else if (cell->data(RawTextRole).isValid())
            cell->setData(RawTextRole, QVariant());
    }
    neededSlot(row, col) = -1;
}

int& FlexGrid::neededSlot(int row, int col) {
    return needed_.at(static_cast<std::size_t>(row) * columnCount() + col);
}

int FlexGrid::fittingWidth() const {
    return horizontalHeader()->length() + chromeWidth();
}

int FlexGrid::chromeWidth() const {
    return 2 * frameWidth() +
           style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar());
}

QString FlexGrid::selectedText() const {
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (ranges.isEmpty())
        return {};
    const QTableWidgetSelectionRange& range = ranges.constFirst(); // contiguous: only one
    QStringList lines;
    for (int row = range.topRow(); row <= range.bottomRow(); ++row) {
        QStringList fields;
        bool blank = true;
        for (int col = range.leftColumn(); col <= range.rightColumn(); ++col) {
            const QTableWidgetItem* cell = item(row, col);
            fields << (cell != nullptr ? cell->text().trimmed() : QString());
            blank = blank && fields.constLast().isEmpty();
        }
        // Rows the page left empty would paste as lines of bare tabs.
        if (!blank)
            lines << fields.join(u'\t');
    }
    return lines.isEmpty() ? QString() : lines.join(u'\n') + u'\n';
}

void FlexGrid::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        // With nothing selected there is nothing to copy: the clipboard keeps what it had.
        if (const QString text = selectedText(); !text.isEmpty())
            QApplication::clipboard()->setText(text);
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

QString FlexGrid::TextMatrix(int row, int col) const {
    if (row == 0) {
        const QTableWidgetItem* header = horizontalHeaderItem(col);
        return header != nullptr ? header->text() : QString();
    }
    const QTableWidgetItem* cell = item(row - 1, col);
    if (cell == nullptr)
        return {};
    const QVariant raw = cell->data(RawTextRole);
    return raw.isValid() ? raw.toString() : cell->text();
}

} // namespace platform
