#pragma once

#include <QFont>
#include <QStyledItemDelegate>
#include <QTextLayout>
#include <memory>
#include <vector>

namespace platform {

// Draws and measures a grid's cells as Qt's item style does, but lays each cell's text out
// once per text, not on every measure and paint: Qt's style shapes a cell's text about five
// times per paint, which made a refresh with new rates several times slower than its
// download. Text it cannot place exactly as the style would (more than one line, right to
// left, trailing blanks, too wide for its cell, another style) goes to the style itself.
class CellDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    CellDelegate(int rows, int cols, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    // The width the style's size hint gives the cell.
    [[nodiscard]] int width(const QStyleOptionViewItem& option, const QModelIndex& index) const;
    // The cell's text or the grid's font changed.
    void forget(int row, int col);
    void forgetAll();

private:
    // One line of text, laid out once in one font, left-aligned from the origin.
    struct Shaped {
        QString text;
        QFont font;
        std::shared_ptr<QTextLayout> layout; // none: the style draws it
        qreal width = 0;
        int height = 0;
        bool made = false;
    };
    const Shaped& shaped(const QString& text, const QFont& font, const QModelIndex& index) const;
    [[nodiscard]] bool paintsLikeTheStyle(const QStyleOptionViewItem& option) const;

    int rows_;
    int cols_;
    mutable std::vector<Shaped> cells_;
    mutable int margin_ = -1; // the size hint's width beside the text, measured once per font
};

} // namespace platform
