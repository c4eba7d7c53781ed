#pragma once

#include "platform/caption.h"
#include "platform/grid.h"

#include <QMap>
#include <QPair>

// Stand-ins for the grid and a label: they keep exactly what they are given.
class FakeGrid final : public platform::Grid {
public:
    void setTextMatrix(int row, int col, const QString& text) override { cells[{row, col}] = text; }
    [[nodiscard]] QString TextMatrix(int row, int col) const override {
        return cells.value({row, col});
    }
    QMap<QPair<int, int>, QString> cells;
};

class FakeCaption final : public platform::Caption {
public:
    void setCaption(const QString& text) override { caption = text; }
    QString caption = QStringLiteral("(unset)");
};
