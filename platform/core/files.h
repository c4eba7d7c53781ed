#pragma once

#include <QByteArray>
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
// so a failed or interrupted write leaves the old file as it was.
bool replaceFile(const QString& name, const QByteArray& bytes);

} // namespace platform
