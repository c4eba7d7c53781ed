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

std::optional<int> wholeNumber(const QByteArray& line, int lowest, int highest) {
    bool ok = false;
    const int value = line.trimmed().toInt(&ok);
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
    // Only CR LF ends a line; a line without its CR is not one the program wrote.
    auto line = [&](qsizetype i) -> std::optional<QByteArray> {
        if (i >= lines.size() || i >= LineCount)
            return std::nullopt;
        const QByteArray& raw = lines.at(i);
        const bool lastOfFile = i == lines.size() - 1;
        if (raw.endsWith('\r'))
            return raw.chopped(1);
        if (lastOfFile && i == LineCount - 1)
            return raw; // a fourth line without its line end still reads
        return std::nullopt;
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
    opt = Options{};
    if (!platform::isFile(QString::fromLatin1(OptionsFileName))) {
        if (!QFileInfo::exists(QString::fromLatin1(OptionsFileName)))
            platform::replaceFile(QString::fromLatin1(OptionsFileName), formatOptions(opt));
        return;
    }
    if (const auto bytes = platform::readFile(QString::fromLatin1(OptionsFileName)))
        opt = parseOptions(*bytes);
}

bool SaveOpt(const Options& opt) {
    return platform::replaceFile(QString::fromLatin1(OptionsFileName), formatOptions(opt));
}

} // namespace options
