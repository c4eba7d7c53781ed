#pragma once

#include <QByteArray>
#include <QString>

namespace rates {

// Turns the page's bytes into text. The encoding is, in this order: a byte order mark, the
// charset of the Content-Type header, the charset of a <meta> tag, UTF-8 when the bytes are
// valid UTF-8, and otherwise windows-1251, the encoding of older Bulgarian pages. A named
// charset that is unknown here is passed over.
QString decodepage(const QByteArray& body, const QByteArray& contentType);

} // namespace rates
