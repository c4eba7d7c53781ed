// options.opt: the exact bytes written, what is read back, and that nothing a person or a
// failure can do to the file loses the options or stops the program.
#include "options/optionsfile.h"
#include "scratch.h"
#include "stressrecords.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTest>
#include <QThread>
#include <algorithm>
#include <optional>
#include <utility>

using options::Options;
Q_DECLARE_METATYPE(Options)

namespace {

Options make(quint8 useProxy, quint8 refreshOnStart, qint16 port, const QString& host = {}) {
    return {refreshOnStart, useProxy, host, port};
}

// The options read over stale ones, and the bytes known to be in the file.
std::pair<Options, options::KnownBytes> loaded() {
    Options opt = make(7, 7, 7, QStringLiteral("stale"));
    auto known = options::LoadOpt(opt);
    return {opt, known};
}

QByteArray backup(int n = 1) {
    return ScratchDir::read(options::backupFileName(n));
}

// The save-stress helper in `dir`; in text mode, as on Windows it ends its lines with CR LF.
void startSaver(QProcess& saver, const ScratchDir& dir, const QString& record = {}) {
    saver.setWorkingDirectory(dir.path());
    saver.start(QStringLiteral(SAVESTRESS_PATH),
                record.isEmpty() ? QStringList() : QStringList{record},
                QIODevice::ReadWrite | QIODevice::Text);
}

} // namespace

class TestOptionsFile : public QObject {
    Q_OBJECT
private slots:
    void missingFileIsCreatedWithTheDefaults() {
        ScratchDir dir;
        QCOMPARE(loaded().first, Options{});
        QCOMPARE(ScratchDir::read(), QByteArray("0\r\n0\r\n8080\r\n\"\"\r\n")); // 16 bytes
    }

    // Each field is read on its own: one that cannot be read takes its default. A file read
    // whole is saved in the program's form; one that was not is left alone until the first
    // save, which first keeps it as options.opt.bak, as private as the file.
    void readFieldByFieldAndSaved_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Options>("expected");
        QTest::addColumn<QByteArray>("saved"); // empty: not read whole, so kept as the backup
        const auto row = [](const char* name, const QByteArray& bytes, const Options& opt,
                            const QByteArray& saved = {}) {
            QTest::newRow(name) << bytes << opt << saved;
        };
        const auto same = [&row](const char* name, const QByteArray& bytes, const Options& opt) {
            row(name, bytes, opt, bytes);
        };
        const QByteArray canonical("1\r\n0\r\n3128\r\n\"proxy.local\"\r\n");
        const Options proxy = make(1, 0, 3128, "proxy.local");
        same("proxy flag first", canonical, proxy);
        same("negative port, empty host", "0\r\n1\r\n-1\r\n\"\"\r\n", make(0, 1, -1));
        same("host holding a quote", "1\r\n0\r\n80\r\n\"a\"b\"\r\n", make(1, 0, 80, "a\"b"));
        row("LF line ends", "1\n0\n3128\n\"proxy.local\"\n", proxy, canonical);
        row("UTF-8 BOM, mixed ends, no last end",
            QByteArray("\xEF\xBB\xBF") + "1\n0\r\n3128\r\"proxy.local\"", proxy, canonical);
        row("spaces and signs", " 1 \r\n+1\r\n -80\r\n\"h\"\r\n", make(1, 1, -80, "h"),
            "1\r\n1\r\n-80\r\n\"h\"\r\n");
        row("blank lines after the host", canonical + "\r\n  \n", proxy, canonical);
        row("empty file", "", Options{});
        row("two lines", "1\r\n1\r\n", make(1, 1, 8080));
        row("text for a number", "yes\r\n1\r\n80\r\n\"h\"\r\n", make(0, 1, 80, "h"));
        row("flags out of range", "256\r\n-1\r\n80\r\n\"h\"\r\n", make(0, 0, 80, "h"));
        row("port above 32767", "1\n0\n40000\n\"h\"\n", make(1, 0, 8080, "h"));
        row("host without quotes", "1\r\n0\r\n80\r\nproxy\r\n", make(1, 0, 80));
        row("text after the host", "1\r\n0\r\n80\r\n\"h\" # mine\r\n", make(1, 0, 80, "h"));
        row("extra lines", "1\r\n1\r\n80\r\n\"p\"\r\nextra\r\n", make(1, 1, 80, "p"));
        // A host typed in a single-byte Cyrillic editor goes back as it was where it is text in
        // the system's encoding; elsewhere it cannot be read, never turned to replacement marks.
        const QByteArray cyrillic("\xEF\xF0\xEE\xEA\xF1\xE8.local");
        QStringDecoder system(QStringConverter::System);
        const QString host = system(cyrillic);
        const QByteArray file = "1\r\n0\r\n3128\r\n\"" + cyrillic + "\"\r\n";
        row("host in another code page", file,
            make(1, 0, 3128, system.hasError() ? QString() : host),
            system.hasError() ? QByteArray() : file);
        static constexpr char nuls[] = "1\0\r\n0\r\n80\r\n\"a\0b\"\r\n";
        row("NUL bytes", QByteArray(nuls, sizeof nuls - 1),
            make(0, 0, 80, QString::fromLatin1("a\0b", 3)));
    }
    void readFieldByFieldAndSaved() {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, saved);
        ScratchDir dir;
        ScratchDir::write(bytes);
        const QString name = QString::fromLatin1(options::OptionsFileName);
        QFile::setPermissions(name, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        const auto permissions = QFileInfo(name).permissions();
        auto [opt, known] = loaded();
        QTEST(opt, "expected");
        QCOMPARE(ScratchDir::read(), bytes);
        QCOMPARE(known, saved.isEmpty() ? std::nullopt : options::KnownBytes(bytes));
        QVERIFY(options::SaveOpt(opt, known));
        QCOMPARE(backup(), saved.isEmpty() ? bytes : QByteArray("(missing)"));
        if (saved.isEmpty())
            QCOMPARE(QFileInfo(QString::fromLatin1(options::BackupFileName)).permissions(),
                     permissions);
        QCOMPARE(ScratchDir::read(), saved.isEmpty() ? options::formatOptions(opt) : saved);
    }

    // Bytes the run did not read whole or write itself (a file not read whole, one changed on
    // disk during the run) are kept before a save replaces them, each under the next free
    // name: a backup already there, the program's own or a person's, is never replaced.
    void backupsAreNeverReplaced() {
        ScratchDir dir;
        ScratchDir::write("mine\r\n", QString::fromLatin1(options::BackupFileName));
        const auto run = [](const QByteArray& bytes, const QByteArray& editedDuringTheRun = {}) {
            ScratchDir::write(bytes);
            auto [opt, known] = loaded();
            if (!editedDuringTheRun.isEmpty())
                ScratchDir::write(editedDuringTheRun);
            QVERIFY(options::SaveOpt(opt, known));
            QVERIFY(options::SaveOpt(opt, known)); // its own file: nothing more to keep
        };
        run("1\r\n0\r\n40000\r\n\"first\"\r\n");
        run("1\r\n0\r\n3128\r\n\"fine\"\r\n", "0\r\n0\r\n80\r\n\"by hand\"\r\n");
        QCOMPARE(backup(1), QByteArray("mine\r\n"));
        QCOMPARE(backup(2), QByteArray("1\r\n0\r\n40000\r\n\"first\"\r\n"));
        QCOMPARE(backup(3), QByteArray("0\r\n0\r\n80\r\n\"by hand\"\r\n"));
        QCOMPARE(backup(4), QByteArray("(missing)"));
        QCOMPARE(options::backupFileName(3), QStringLiteral("options.opt.3.bak"));
    }

    // A file the program may not read: the defaults, and what is there is left alone (the save
    // is refused and told, see tst_frmmain).
    void unreadableFileIsLeftAlone() {
        ScratchDir dir;
        const QByteArray theirs("1\r\n1\r\n3128\r\n\"theirs\"\r\n");
        ScratchDir::write(theirs);
        if (!dir.makeOptionsUnreadable())
            QSKIP("cannot make a file unreadable here (Windows has no such permission bits)");
        QCOMPARE(loaded().first, Options{});
        dir.makeOptionsReadable();
        QCOMPARE(ScratchDir::read(), theirs);
    }

    // A save killed at any moment leaves the whole old file or the whole new one. The kill
    // comes once the saver is under way, and some kills must land in the middle of a save.
    void killedSaveLeavesAWholeFile() {
        ScratchDir dir;
        const QByteArray first = options::formatOptions(stressRecord(true));
        const QByteArray second = options::formatOptions(stressRecord(false));
        ScratchDir::write(first);
        int midSave = 0;
        // Five kills that land mid-save are proof enough; each round waits for a whole save
        // first, which takes seconds under Wine.
        for (int round = 0; round < 40 && midSave < 5; ++round) {
            QProcess saver;
            startSaver(saver, dir);
            QByteArray said;
            const QDeadlineTimer deadline(30000);
            while (!said.contains("saved\n") &&
                   saver.waitForReadyRead(int(deadline.remainingTime())))
                said += saver.readAllStandardOutput();
            QVERIFY2(said.contains("saved\n"), "the saver never finished a save");
            QThread::msleep(QRandomGenerator::global()->bounded(20));
            saver.kill();
            QVERIFY(saver.waitForFinished());
            midSave += (said + saver.readAllStandardOutput()).endsWith("saving\n") ? 1 : 0;
            QVERIFY(QByteArrayList({first, second}).contains(ScratchDir::read()));
        }
        QVERIFY2(midSave > 0, "no kill landed in the middle of a save: the test proved nothing");
    }

    // Two copies of the program that read the same file end at once: one whole options.opt,
    // and the other's version kept. Several rounds, as the two may or may not overlap.
    void twoCopiesEndingAtOnceKeepBoth() {
        const QList<QByteArray> versions = {options::formatOptions(stressRecord(false)),
                                            options::formatOptions(stressRecord(true))};
        for (int round = 0; round < 5; ++round) {
            ScratchDir dir;
            ScratchDir::write(options::formatOptions(Options{}));
            QProcess copies[2];
            for (int i = 0; i < 2; ++i) {
                startSaver(copies[i], dir, QString::number(i));
                QVERIFY(copies[i].waitForReadyRead(30000)); // "loaded"
            }
            for (QProcess& copy : copies)
                copy.write("\n");
            for (QProcess& copy : copies)
                copy.waitForBytesWritten();
            for (QProcess& copy : copies) {
                QVERIFY(copy.waitForFinished(30000));
                QCOMPARE(copy.exitCode(), 0);
            }
            QList<QByteArray> left = {ScratchDir::read(), backup(1)};
            std::sort(left.begin(), left.end());
            QVERIFY2(left == versions, qPrintable(QStringLiteral("round %1").arg(round)));
            QCOMPARE(backup(2), QByteArray("(missing)"));
        }
    }
};

QTEST_GUILESS_MAIN(TestOptionsFile)
#include "tst_optionsfile.moc"
