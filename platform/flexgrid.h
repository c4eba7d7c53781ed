#pragma once

#include "platform/grid.h"

#include <QTableWidget>

namespace platform {

// A grid with one fixed header row (row 0) whose column headers and widths come from a
// format string: "<Header   |<Next  " - each segment after its alignment mark is the header text,
// and its trailing spaces widen the column.
class FlexGrid final : public QTableWidget, public Grid {
    Q_OBJECT
public:
    FlexGrid(int rows, int cols, const QString& formatString, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(FlexGrid)

    void setTextMatrix(int row, int col, const QString& text) override;
    [[nodiscard]] QString TextMatrix(int row, int col) const override;
    [[nodiscard]] int Rows() const { return rowCount() + 1; }
    [[nodiscard]] int Cols() const { return columnCount(); }

protected:
    void changeEvent(QEvent* event) override;

private:
    void applyFormatString(const QString& formatString);
    void fitToFont();
};

} // namespace platform
