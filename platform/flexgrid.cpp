#include "platform/flexgrid.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>

namespace platform {

namespace {

constexpr int CellPadding = 6; // room beside a header's text
constexpr int RowPadding = 4;  // room above and below a line of text

// The raw text stays readable through TextMatrix; the cell shows it on one line.
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
    : QTableWidget(rows - 1, cols, parent) {
    verticalHeader()->hide();
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setWordWrap(false);
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
    fitToFont();
}

// Column widths follow the header texts, trailing spaces included, in the grid's own font,
// and then the widest cell.
void FlexGrid::fitToFont() {
    horizontalHeader()->setFont(font());
    const QFontMetrics metrics(font());
    for (int col = 0; col < columnCount(); ++col) {
        if (const QTableWidgetItem* header = horizontalHeaderItem(col))
            setColumnWidth(col, metrics.horizontalAdvance(header->text()) + CellPadding);
        for (int row = 0; row < rowCount(); ++row) {
            if (const QTableWidgetItem* cell = item(row, col))
                widenTo(col, *cell);
        }
    }
    verticalHeader()->setMinimumSectionSize(metrics.height());
    verticalHeader()->setDefaultSectionSize(metrics.height() + RowPadding);
}

void FlexGrid::changeEvent(QEvent* event) {
    QTableWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitToFont();
}

void FlexGrid::setTextMatrix(int row, int col, const QString& text) {
    if (row == 0) {
        if (QTableWidgetItem* header = horizontalHeaderItem(col))
            header->setText(text);
        return;
    }
    QTableWidgetItem* cell = item(row - 1, col);
    if (cell == nullptr) {
        cell = new QTableWidgetItem;
        setItem(row - 1, col, cell);
    }
    cell->setData(RawTextRole, text);
    cell->setText(oneLine(text));
    widenTo(col, *cell);
}

// Measured by the delegate that draws the cell, so its margins are counted; one more pixel
// for the grid line.
void FlexGrid::widenTo(int col, const QTableWidgetItem& cell) {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const int needed = itemDelegate()->sizeHint(option, indexFromItem(&cell)).width() + 1;
    if (needed > columnWidth(col))
        setColumnWidth(col, needed);
}

int FlexGrid::fittingWidth() const {
    return horizontalHeader()->length() + 2 * frameWidth() +
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
        for (int col = range.leftColumn(); col <= range.rightColumn(); ++col) {
            const QTableWidgetItem* cell = item(row, col);
            fields << (cell != nullptr ? cell->text().trimmed() : QString());
        }
        lines << fields.join(u'\t');
    }
    return lines.join(u'\n') + u'\n';
}

void FlexGrid::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        QApplication::clipboard()->setText(selectedText());
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
    return cell != nullptr ? cell->data(RawTextRole).toString() : QString();
}

} // namespace platform
