#pragma once

#include "platform/grid.h"

#include <QTableWidget>

namespace platform {

// A grid with one fixed header row (row 0) whose column headers and widths come from a
// format string: "<Header   |<Next  " - each segment after its alignment mark is the header text,
// and its trailing spaces widen the column. A column also widens to its widest cell, so no
// value is ever elided. Ctrl+C copies the selected range as tab-separated lines.
class FlexGrid final : public QTableWidget, public Grid {
    Q_OBJECT
public:
    FlexGrid(int rows, int cols, const QString& formatString, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(FlexGrid)

    void setTextMatrix(int row, int col, const QString& text) override;
    [[nodiscard]] QString TextMatrix(int row, int col) const override;
    [[nodiscard]] int Rows() const { return rowCount() + 1; }
    [[nodiscard]] int Cols() const { return columnCount(); }

    // The width at which every column shows whole beside the vertical scroll bar.
    [[nodiscard]] int fittingWidth() const;
    // The selected cells, rows as lines and columns separated by tabs.
    [[nodiscard]] QString selectedText() const;

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void applyFormatString(const QString& formatString);
    void fitToFont();
    void widenTo(int col, const QTableWidgetItem& cell);
};

} // namespace platform
