#include "rates/decodepage.h"

#include "platform/core/charset.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <optional>

namespace rates {

namespace {

// Qt's own HTML sniffing reads only the first 1024 bytes; old pages often carry a long head.
constexpr qsizetype MetaSearchBytes = qsizetype{64} * 1024;

QByteArray trimmedCharset(QByteArray name) {
    name = name.trimmed();
    if (name.size() >= 2 && (name.front() == '"' || name.front() == '\'') &&
        name.back() == name.front())
        name = name.mid(1, name.size() - 2).trimmed();
    return name;
}

std::optional<QString> decodeAs(const QByteArray& charset, const QByteArray& body) {
    if (charset.isEmpty())
        return std::nullopt;
    // Qt's own UTF-8 conversion is about twice as fast as a decoder object doing the same.
    if (QStringConverter::encodingForName(charset.constData()) == QStringConverter::Utf8)
        return QString::fromUtf8(body);
    return platform::decodeCharset(charset, body);
}

// The charset parameter of a Content-Type value, or empty.
QByteArray charsetOfContentType(const QByteArray& contentType) {
    const QList<QByteArray> parts = contentType.split(';');
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QByteArray part = parts.at(i).trimmed();
        const qsizetype equals = part.indexOf('=');
        if (equals > 0 && part.left(equals).trimmed().toLower() == "charset")
            return trimmedCharset(part.mid(equals + 1));
    }
    return {};
}

// The charset named by a <meta> tag near the start of the page, or empty.
QByteArray charsetOfMeta(const QByteArray& body) {
    static const QRegularExpression meta(
        QStringLiteral(R"(<meta\b[^>]*?charset\s*=\s*["']?\s*([A-Za-z0-9._:\-]+))"),
        QRegularExpression::CaseInsensitiveOption);
    // Latin-1 maps every byte to one character, so offsets and ASCII names survive.
    const QString head = QString::fromLatin1(body.left(MetaSearchBytes));
    const QRegularExpressionMatch match = meta.match(head);
    return match.hasMatch() ? match.captured(1).toLatin1() : QByteArray();
}

} // namespace

QString decodepage(const QByteArray& body, const QByteArray& contentType) {
    if (const auto bom = QStringConverter::encodingForData(body))
        return QStringDecoder(*bom).decode(body);
    if (auto text = decodeAs(charsetOfContentType(contentType), body))
        return *text;
    if (auto text = decodeAs(charsetOfMeta(body), body))
        return *text;
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(body);
    if (!utf8.hasError())
        return text;
    if (auto cyrillic = decodeAs(QByteArrayLiteral("windows-1251"), body))
        return *cyrillic;
    return QString::fromLatin1(body);
}

} // namespace rates
