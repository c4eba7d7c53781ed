#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// A fresh working directory for the duration of one test: options.opt is looked up there.
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
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    static QByteArray read() {
        QFile file(QStringLiteral("options.opt"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }

    // Makes the directory refuse new files. Root ignores permission bits, so there the
    // immutable attribute is used; returns false when neither works.
    bool setWritable(bool writable) {
        QFile::setPermissions(dir_.path(), writable ? QFile::Permissions(0x7700)
                                                    : QFile::ReadOwner | QFile::ExeOwner);
        if (writable) {
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), dir_.path()});
            return true;
        }
        if (canCreate())
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), dir_.path()});
        return !canCreate();
    }

private:
    bool canCreate() const {
        QFile probe(dir_.filePath(QStringLiteral("probe")));
        const bool created = probe.open(QIODevice::WriteOnly);
        if (created)
            probe.remove();
        return created;
    }

    QTemporaryDir dir_;
    QString saved_;
};
