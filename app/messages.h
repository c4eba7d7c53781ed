#pragma once

#include <QString>

namespace app {

inline QString refreshCaption() {
    return QStringLiteral("Обнови");
}
inline QString refreshingCaption() {
    return QStringLiteral("Обновяване...");
}
inline QString noConnectionPrompt() {
    return QStringLiteral("Нямя връзка с интернет\r\nили сайта на ЗВТ е недостъпен");
}
inline QString errorTitle() {
    return QStringLiteral("Грешка");
}

} // namespace app
