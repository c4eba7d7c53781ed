#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

// The bundled sample rate page (windows-1251), located through the test's environment.
inline QByteArray samplePage() {
    QFile file(qEnvironmentVariable("KURSOVE_SAMPLE_PAGE"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("sample page not found: set KURSOVE_SAMPLE_PAGE");
    return file.readAll();
}

// A fresh working directory while it lives: options.opt is looked up there.
class ScratchDir {
public:
    ScratchDir() : saved_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
    ~ScratchDir() {
        setWritable(true);
        QDir::setCurrent(saved_);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    [[nodiscard]] QString path() const { return dir_.path(); }

    static void write(const QByteArray& bytes) {
        QFile file(QStringLiteral("options.opt"));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write options.opt");
        file.write(bytes);
    }
    static QByteArray read() {
        QFile file(QStringLiteral("options.opt"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }

    // Root ignores permission bits, so there the immutable attribute is used; returns false
    // when the directory still takes new files.
    bool setWritable(bool writable) {
        const QString chattr = QStringLiteral("chattr");
        QFile::setPermissions(dir_.path(), writable ? QFile::Permissions(0x7700)
                                                    : QFile::ReadOwner | QFile::ExeOwner);
        QProcess::execute(chattr,
                          {writable ? QStringLiteral("-i") : QStringLiteral("+i"), dir_.path()});
        QFile probe(dir_.filePath(QStringLiteral("probe")));
        const bool created = probe.open(QIODevice::WriteOnly);
        if (created)
            probe.remove();
        return writable == created;
    }

private:
    QTemporaryDir dir_;
    QString saved_;
};
