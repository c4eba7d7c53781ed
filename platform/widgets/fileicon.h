#pragma once

#include <QIcon>
#include <QList>
#include <QSize>
#include <QString>

namespace platform {

struct IconFile {
    QSize size;
    QString path;
};

// An icon made of one picture file per size, each read only when a size is first asked for.
// (QIcon::addFile reads every file at once; a window system asks for one or two sizes.)
QIcon iconFromFiles(const QList<IconFile>& files);

} // namespace platform
