#pragma once

#include "platform/core/grid.h"

#include <QTableWidget>
#include <vector>

namespace platform {

// A grid with one fixed header row (row 0) whose column headers and widths come from a
// format string: "<Header   |<Next  " - each segment after its alignment mark is the header text,
// and its trailing spaces widen the column. fitColumns() sizes the columns (and a change of
// font does again): each to its header and its widest cell, up to a limit past which the value
// shows cut (its text stays whole in the cell). Tab leaves the grid; Ctrl+C copies the
// selected range as tab-separated lines.
class FlexGrid final : public QTableWidget, public Grid {
    Q_OBJECT
public:
    FlexGrid(int rows, int cols, const QString& formatString, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(FlexGrid)

    void setTextMatrix(int row, int col, const QString& text) override;
    [[nodiscard]] QString TextMatrix(int row, int col) const override;
    [[nodiscard]] int Rows() const { return rowCount() + 1; }

    // Sizes every column afresh to its header and its widest cell, none wider than `limit`.
    void fitColumns(int limit);
    // The width at which every column shows whole beside the vertical scroll bar.
    [[nodiscard]] int fittingWidth() const;
    // What the grid takes beside its columns: its frame and the vertical scroll bar.
    [[nodiscard]] int chromeWidth() const;
    // The selected cells, rows as lines and columns separated by tabs; empty when none is.
    [[nodiscard]] QString selectedText() const;

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void applyFormatString(const QString& formatString);
    void fitToFont();
    [[nodiscard]] int neededWidth(int row, int col, const QFontMetrics& metrics,
                                  const QStyleOptionViewItem& option);
    int& neededSlot(int row, int col);

    // The width each cell needs in the grid's font, measured once per text and font (-1: not
    // yet); a refresh that brings the same texts measures nothing.
    std::vector<int> needed_;
    int limit_;
};

} // namespace platform
