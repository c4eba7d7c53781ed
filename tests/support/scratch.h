#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#ifdef Q_OS_LINUX
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

    // The folder and options.opt given these modes, for their owner, group and others. Root
    // reads and writes any file, so a root test then runs as "nobody" (real and effective user
    // id, as access() checks the real one), keeping root as its saved id to come back to.
    // False where this cannot be arranged.
    bool setModes(QFile::Permissions folder, QFile::Permissions file) {
#ifdef Q_OS_LINUX
        const auto forAll = [](QFile::Permissions owner) {
            return owner | QFile::Permissions(owner.toInt() >> 8 | owner.toInt() >> 12);
        };
        QFile::setPermissions(QStringLiteral("options.opt"), forAll(file));
        QFile::setPermissions(dir_.path(), forAll(folder));
        if (geteuid() == 0 && !asNobody_) {
            constexpr uid_t Nobody = 65534;
            asNobody_ = setresgid(Nobody, Nobody, 0) == 0 && setresuid(Nobody, Nobody, 0) == 0;
            return asNobody_;
        }
        return true;
#else
        return false;
#endif
    }

    // options.opt left there but made unreadable to the test, as a file of another user's.
    bool makeOptionsUnreadable() {
        setModes(QFile::Permissions(0x7000), QFile::WriteOwner);
        QFile probe(QStringLiteral("options.opt"));
        return !probe.open(QIODevice::ReadOnly);
    }

    void makeOptionsReadable() {
#ifdef Q_OS_LINUX
        if (asNobody_)
            asNobody_ = setresuid(0, 0, 0) != 0 || setresgid(0, 0, 0) != 0;
#endif
        QFile::setPermissions(QStringLiteral("options.opt"), QFile::ReadOwner | QFile::WriteOwner);
        QFile::setPermissions(dir_.path(), QFile::Permissions(0x7700));
    }

private:
    bool asNobody_ = false;
    QTemporaryDir dir_;
    QString saved_;
};
