#include "options/optionsfile.h"

#include "platform/core/files.h"

#include <QFileInfo>
#include <QList>
#include <QLockFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <limits>

namespace options {

namespace {

constexpr char LineEnd[] = "\r\n";
constexpr qsizetype LineCount = 4;
constexpr char Utf8Bom[] = "\xEF\xBB\xBF";

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

// The bytes between the first and the last quote, so a host holding a quote reads back whole.
std::optional<QByteArray> quotedBytes(const QByteArray& line) {
    const qsizetype first = line.indexOf('"');
    const qsizetype last = line.lastIndexOf('"');
    if (first < 0 || last <= first)
        return std::nullopt;
    return line.mid(first + 1, last - first - 1);
}

QByteArray encodeHost(const QString& host) {
    QStringEncoder encoder(QStringConverter::System);
    return encoder.encode(host);
}

// Lines ended by CR LF, LF or CR; the text after the last line end is the final entry.
QList<QByteArray> splitLines(const QByteArray& bytes) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c != '\r' && c != '\n')
            continue;
        lines.append(bytes.mid(start, i - start));
        if (c == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    lines.append(bytes.mid(start));
    return lines;
}

// Under the first backup name that is free, private as the file they came from: a backup
// already there, the program's own or one a person made, is theirs and stays.
bool keepAside(const QByteArray& bytes, QFileDevice::Permissions permissions) {
    constexpr int MostBackups = 999;
    for (int n = 1; n <= MostBackups; ++n) {
        const QString name = backupFileName(n);
        if (platform::createFile(name, bytes, permissions))
            return true;
        if (!QFileInfo::exists(name) && !QFileInfo(name).isSymLink())
            return false; // the name was free: the folder takes no file
    }
    return false;
}

// The file's own permission bits; Qt's "user" bits say what this process may do instead.
QFileDevice::Permissions permissionsOf(const QString& name) {
    return QFileInfo(name).permissions() &
           ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
}

} // namespace

QString backupFileName(int n) {
    return n == 1 ? QString::fromLatin1(BackupFileName)
                  : QStringLiteral("options.opt.%1.bak").arg(n);
}

QByteArray formatOptions(const Options& opt) {
    QByteArray bytes;
    bytes += QByteArray::number(opt.useProxy) + LineEnd;
    bytes += QByteArray::number(opt.refreshOnStart) + LineEnd;
    bytes += QByteArray::number(opt.proxyPort) + LineEnd;
    bytes += '"' + encodeHost(opt.proxyHost) + '"' + LineEnd;
    return bytes;
}

Reading parseOptions(const QByteArray& bytes) {
    Reading reading;
    Options& opt = reading.options;
    const QList<QByteArray> lines =
        splitLines(bytes.startsWith(Utf8Bom) ? bytes.mid(sizeof Utf8Bom - 1) : bytes);
    auto line = [&](qsizetype i) {
        return i < lines.size() ? lines.at(i) : QByteArray();
    };
    int fieldsRead = 0;
    constexpr int ByteMax = std::numeric_limits<quint8>::max();
    if (const auto v = wholeNumber(line(0), 0, ByteMax)) {
        opt.useProxy = static_cast<quint8>(*v);
        ++fieldsRead;
    }
    if (const auto v = wholeNumber(line(1), 0, ByteMax)) {
        opt.refreshOnStart = static_cast<quint8>(*v);
        ++fieldsRead;
    }
    if (const auto v = wholeNumber(line(2), std::numeric_limits<qint16>::min(),
                                   std::numeric_limits<qint16>::max())) {
        opt.proxyPort = static_cast<qint16>(*v);
        ++fieldsRead;
    }
    const QByteArray hostLine = line(3).trimmed();
    if (const auto host = quotedBytes(hostLine)) {
        // A byte order mark inside the quotes is part of the host, not a mark to skip.
        QStringDecoder decoder(QStringConverter::System, QStringConverter::Flag::ConvertInitialBom);
        const QString text = decoder.decode(*host);
        // Bytes that are no text in the system's encoding (a host typed in another code page)
        // would be used and saved as replacement characters: the field counts as unreadable.
        if (encodeHost(text) == *host) {
            opt.proxyHost = text;
            // Text outside the quotes would be dropped by the next save.
            if (hostLine.startsWith('"') && hostLine.endsWith('"'))
                ++fieldsRead;
        }
    }
    bool restBlank = true;
    for (qsizetype i = LineCount; i < lines.size(); ++i)
        restBlank = restBlank && lines.at(i).trimmed().isEmpty();
    reading.whole = fieldsRead == LineCount && restBlank;
    return reading;
}

KnownBytes LoadOpt(Options& opt) {
    const QString name = QString::fromLatin1(OptionsFileName);
    opt = Options{};
    if (auto bytes = platform::readFile(name)) {
        Reading reading = parseOptions(*bytes);
        opt = std::move(reading.options);
        if (reading.whole)
            return bytes;
    } else if (!QFileInfo::exists(name)) { // an unreadable file or a directory is left alone
        const QByteArray defaults = formatOptions(opt);
        if (platform::replaceFile(name, defaults))
            return defaults;
    }
    return std::nullopt;
}

bool SaveOpt(const Options& opt, KnownBytes& known) {
    const QString name = QString::fromLatin1(OptionsFileName);
    // A second copy ending at the same moment waits for this one's save, then finds its file
    // changed and keeps it. Where the folder takes no lock file, the save goes on without one.
    constexpr int LockWaitMs = 10000;
    QLockFile lock(name + QStringLiteral(".lock"));
    lock.tryLock(LockWaitMs);
    // A file the program may not read is someone else's to keep: it is left as it is.
    if (platform::isUnreadable(name))
        return false;
    const auto found = platform::readFile(name);
    if (found && found != known) {
        if (!keepAside(*found, permissionsOf(name)))
            return false;
        known = found;
    }
    const QByteArray bytes = formatOptions(opt);
    if (!platform::replaceFile(name, bytes))
        return false;
    known = bytes;
    return true;
}

} // namespace options
