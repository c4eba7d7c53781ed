#pragma once

#include <QLabel>

namespace platform {

// A one-line label whose text, when too long for its box, ends in "…" where it is cut, as the
// grid's cells do, instead of being cut through a letter. text() and what a screen reader
// reads stay whole.
class ElidedLabel final : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace platform
