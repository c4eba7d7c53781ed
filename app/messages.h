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
inline QString notSavedPrompt(const QString& path) {
    return QStringLiteral("Настройките не бяха записани във файла\r\n%1").arg(path);
}
inline QString errorTitle() {
    return QStringLiteral("Грешка");
}

} // namespace app
