#pragma once

#include <QValidator>
#include <optional>

class QKeyEvent;

namespace options {

// The character code a key press would type, as the port box's key handler sees it:
// Ctrl+letter and the clipboard and undo shortcuts give their control codes, so they can be
// dropped like any other non-digit. Keys that type nothing (arrows, Home, Delete, Tab) give none.
std::optional<qint16> keyAsciiOf(const QKeyEvent& event);

// Stops non-digits that arrive other than by typing (paste from the context menu, drag and
// drop, the X11 selection). A leading "-" is let through only while the box shows a negative
// port that came from the options file.
class PortValidator final : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    void setAllowMinus(bool allow) { allowMinus_ = allow; }
    State validate(QString& input, int& pos) const override;

private:
    bool allowMinus_ = false;
};

} // namespace options
