#include "options/portfilter.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <array>
#include <utility>

namespace options {

std::optional<qint16> keyAsciiOf(const QKeyEvent& event) {
    static const std::array<std::pair<QKeySequence::StandardKey, qint16>, 6> shortcuts{{
        {QKeySequence::SelectAll, 1},
        {QKeySequence::Copy, 3},
        {QKeySequence::Paste, 22},
        {QKeySequence::Cut, 24},
        {QKeySequence::Redo, 25},
        {QKeySequence::Undo, 26},
    }};
    for (const auto& [shortcut, code] : shortcuts) {
        if (event.matches(shortcut))
            return code;
    }
    const int key = event.key();
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
        return std::nullopt; // focus moves on; it types nothing into the box
    if (key == Qt::Key_Backspace)
        return 8;
    if ((event.modifiers() & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<qint16>(key - Qt::Key_A + 1);
    const QString text = event.text();
    if (text.isEmpty())
        return std::nullopt;
    return static_cast<qint16>(text.at(0).unicode());
}

QValidator::State PortValidator::validate(QString& input, int& /*pos*/) const {
    const QStringView digits =
        allowMinus_ && input.startsWith(u'-') ? QStringView(input).sliced(1) : QStringView(input);
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return Invalid;
    }
    return Acceptable;
}

} // namespace options
