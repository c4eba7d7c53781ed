#include "options/optionsfile.h"

#include "platform/files.h"

#include <QFileInfo>
#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>
#include <limits>
#include <optional>

namespace options {

namespace {

constexpr char LineEnd[] = "\r\n";
constexpr qsizetype LineCount = 4;

// A whole number alone on its line: blanks around it and a sign allowed, nothing else.
std::optional<int> wholeNumber(const QByteArray& line, int lowest, int highest) {
    const QByteArray text = line.trimmed();
    const qsizetype digitsFrom = text.startsWith('-') || text.startsWith('+') ? 1 : 0;
    if (text.size() == digitsFrom)
        return std::nullopt;
    for (qsizetype i = digitsFrom; i < text.size(); ++i) {
        if (text.at(i) < '0' || text.at(i) > '9')
            return std::nullopt;
    }
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < lowest || value > highest)
        return std::nullopt;
    return value;
}

// The text between the first and the last quote, so a host holding a quote reads back whole.
std::optional<QString> quotedText(const QByteArray& line) {
    const qsizetype first = line.indexOf('"');
    const qsizetype last = line.lastIndexOf('"');
    if (first < 0 || last <= first)
        return std::nullopt;
    QStringDecoder decoder(QStringConverter::System);
    return decoder.decode(line.mid(first + 1, last - first - 1));
}

} // namespace

QByteArray formatOptions(const Options& opt) {
    QStringEncoder encoder(QStringConverter::System);
    QByteArray bytes;
    bytes += QByteArray::number(opt.useProxy) + LineEnd;
    bytes += QByteArray::number(opt.refreshOnStart) + LineEnd;
    bytes += QByteArray::number(opt.proxyPort) + LineEnd;
    bytes += '"' + QByteArray(encoder.encode(opt.proxyHost)) + '"' + LineEnd;
    return bytes;
}

Options parseOptions(const QByteArray& bytes) {
    Options opt;
    const QList<QByteArray> lines = bytes.split('\n');
    // Only CR LF ends a line; a line without its CR is not one the program wrote. The fourth
    // line may lack its line end.
    auto line = [&](qsizetype i) -> std::optional<QByteArray> {
        if (i >= LineCount || i >= lines.size())
            return std::nullopt;
        const QByteArray& raw = lines.at(i);
        const bool ended = i < lines.size() - 1; // a line feed followed it
        if (ended)
            return raw.endsWith('\r') ? std::optional(raw.chopped(1)) : std::nullopt;
        return i == LineCount - 1 ? std::optional(raw) : std::nullopt;
    };
    constexpr int ByteMax = std::numeric_limits<quint8>::max();
    if (const auto l = line(0); l) {
        if (const auto v = wholeNumber(*l, 0, ByteMax))
            opt.useProxy = static_cast<quint8>(*v);
    }
    if (const auto l = line(1); l) {
        if (const auto v = wholeNumber(*l, 0, ByteMax))
            opt.refreshOnStart = static_cast<quint8>(*v);
    }
    if (const auto l = line(2); l) {
        if (const auto v = wholeNumber(*l, std::numeric_limits<qint16>::min(),
                                       std::numeric_limits<qint16>::max()))
            opt.proxyPort = static_cast<qint16>(*v);
    }
    if (const auto l = line(3); l) {
        if (auto host = quotedText(*l))
            opt.proxyHost = std::move(*host);
    }
    return opt;
}

void LoadOpt(Options& opt) {
    const QString name = QString::fromLatin1(OptionsFileName);
    opt = Options{};
    if (const auto bytes = platform::readFile(name))
        opt = parseOptions(*bytes);
    else if (!QFileInfo::exists(name)) // an unreadable file or a directory is left alone
        platform::replaceFile(name, formatOptions(opt));
}

bool SaveOpt(const Options& opt) {
    return platform::replaceFile(QString::fromLatin1(OptionsFileName), formatOptions(opt));
}

} // namespace options
