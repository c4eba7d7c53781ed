#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// Decodes bytes in the named character set ("windows-1251", "koi8-r", "utf-8", ...) with the
// system's own converters: Qt's (backed by ICU on Linux) and, on Windows, where Qt knows no
// more than the UTF forms and Latin-1, the Windows code pages. Nothing for a name no converter
// knows.
std::optional<QString> decodeCharset(const QByteArray& charset, const QByteArray& bytes);

} // namespace platform
