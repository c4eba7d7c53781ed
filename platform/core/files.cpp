#include "platform/core/files.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace platform {

std::optional<QByteArray> readFile(const QString& name) {
    QFile file(name);
    if (!QFileInfo(name).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

bool isUnreadable(const QString& name) {
    const QFileInfo info(name);
    if (!info.exists() || info.isDir())
        return false;
    QFile file(name);
    return !info.isFile() || !file.open(QIODevice::ReadOnly);
}

bool replaceFile(const QString& name, const QByteArray& bytes) {
    if (QFileInfo(name).isDir())
        return false;
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace platform
