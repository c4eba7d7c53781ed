#pragma once

#include <QString>

namespace platform {

// Per-cell text of the rate grid, by row then column. Row 0 is the fixed header row.
class Grid {
public:
    virtual ~Grid() = default;
    virtual void setTextMatrix(int row, int col, const QString& text) = 0;
    [[nodiscard]] virtual QString TextMatrix(int row, int col) const = 0;
};

} // namespace platform
