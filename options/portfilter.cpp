#include "options/portfilter.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <algorithm>
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
    // Keys that move the cursor or the focus, or delete, type nothing into the box, whatever
    // text the window system gives them (X11 gives Delete the control character DEL).
    static const std::array nonTyping{Qt::Key_Tab,    Qt::Key_Backtab,  Qt::Key_Delete,
                                      Qt::Key_Home,   Qt::Key_End,      Qt::Key_Left,
                                      Qt::Key_Right,  Qt::Key_Up,       Qt::Key_Down,
                                      Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Insert};
    if (std::find(nonTyping.begin(), nonTyping.end(), key) != nonTyping.end())
        return std::nullopt;
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
