#include "platform/core/files.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

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
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool createFile(const QString& name, const QByteArray& bytes,
                QFileDevice::Permissions permissions) {
    QTemporaryFile file(name + QStringLiteral(".XXXXXX"));
    if (!file.open() || !file.setPermissions(permissions) || file.write(bytes) != bytes.size())
        return false;
    // The rename refuses a name that is taken, even one taken a moment ago by another process.
    if (!file.rename(name))
        return false;
    file.setAutoRemove(false); // it is that file now
    return true;
}

} // namespace platform
