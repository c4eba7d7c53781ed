#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>
#include <optional>

namespace platform {

// File access relative to the current working directory at the moment of each call.

// The whole of an ordinary file (a directory or a device of that name is none).
std::optional<QByteArray> readFile(const QString& name);

// True for something of that name that is there but cannot be read as a file (no permission,
// a device or a pipe): what it holds cannot be kept, so it must not be replaced either.
bool isUnreadable(const QString& name);

// Replaces the file whole in one step (new file beside the old one, then a rename over it),
// so a failed or interrupted write leaves the old file as it was. Where the folder takes no
// new file but the file itself may be written, it is written in place.
bool replaceFile(const QString& name, const QByteArray& bytes);

// Makes a new file in one step, with these permissions before it can be seen; never over
// anything already of that name (false then, as on any failure).
bool createFile(const QString& name, const QByteArray& bytes, QFileDevice::Permissions permissions);

} // namespace platform
