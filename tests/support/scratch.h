#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#ifdef Q_OS_LINUX
#include <sys/fsuid.h>
#include <unistd.h>
#endif

// The bundled sample rate page (windows-1251), or another one, located through the test's
// environment.
inline QByteArray samplePage(const char* variable = "KURSOVE_SAMPLE_PAGE") {
    QFile file(qEnvironmentVariable(variable));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("sample page not found: set %s", variable);
    return file.readAll();
}

// A fresh working directory while it lives: options.opt is looked up there.
class ScratchDir {
public:
    ScratchDir() : saved_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
    ~ScratchDir() {
        makeOptionsReadable();
        setWritable(true);
        QDir::setCurrent(saved_);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    [[nodiscard]] QString path() const { return dir_.path(); }

    static void write(const QByteArray& bytes,
                      const QString& name = QStringLiteral("options.opt")) {
        QFile file(name);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(name));
        file.write(bytes);
    }
    static QByteArray read(const QString& name = QStringLiteral("options.opt")) {
        QFile file(name);
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

    // options.opt left there but made unreadable to the test, as a file of another user's.
    // Root reads any file, so a root test then reaches files as "nobody" (Linux's file-system
    // user id, which also drops root's override). False where this cannot be arranged.
    bool makeOptionsUnreadable() {
#ifdef Q_OS_LINUX
        QFile::setPermissions(QStringLiteral("options.opt"), QFile::WriteOwner);
        if (geteuid() == 0 && !asNobody_) {
            QFile::setPermissions(dir_.path(), QFile::Permissions(0x7777));
            constexpr uid_t Nobody = 65534;
            setfsuid(Nobody);
            asNobody_ = true;
        }
        QFile probe(QStringLiteral("options.opt"));
        return !probe.open(QIODevice::ReadOnly);
#else
        return false;
#endif
    }

    void makeOptionsReadable() {
#ifdef Q_OS_LINUX
        if (asNobody_)
            setfsuid(0);
        asNobody_ = false;
#endif
        QFile::setPermissions(QStringLiteral("options.opt"), QFile::ReadOwner | QFile::WriteOwner);
    }

private:
    bool asNobody_ = false;
    QTemporaryDir dir_;
    QString saved_;
};
