// options.opt: the exact bytes written, what is read back, and that nothing a person or a
// failure can do to the file loses the options or stops the program.
#include "options/optionsfile.h"
#include "stressrecords.h"
#include "workdir.h"

#include <QRandomGenerator>
#include <QTest>
#include <QThread>
#include <cstdio>

using options::Options;

Q_DECLARE_METATYPE(Options)

namespace {

Options make(quint8 useProxy, quint8 refreshOnStart, qint16 port, const QString& host) {
    Options opt;
    opt.useProxy = useProxy;
    opt.refreshOnStart = refreshOnStart;
    opt.proxyPort = port;
    opt.proxyHost = host;
    return opt;
}

} // namespace

class TestOptionsFile : public QObject {
    Q_OBJECT
private slots:
    void missingFileIsCreatedWithTheDefaults() {
        ScratchDir dir;
        Options opt = make(1, 1, 1, QStringLiteral("stale"));
        options::LoadOpt(opt);
        QCOMPARE(opt, Options{});
        QCOMPARE(ScratchDir::read(), QByteArray("0\r\n0\r\n8080\r\n\"\"\r\n"));
        QCOMPARE(ScratchDir::read().size(), 16);
    }

    void wellFormedFilesRoundTrip_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Options>("expected");
        QTest::newRow("proxy flag comes first")
            << QByteArray("1\r\n0\r\n3128\r\n\"proxy.local\"\r\n")
            << make(1, 0, 3128, QStringLiteral("proxy.local"));
        QTest::newRow("negative port")
            << QByteArray("0\r\n1\r\n-1\r\n\"\"\r\n") << make(0, 1, -1, {});
        QTest::newRow("limits") << QByteArray("255\r\n2\r\n-32768\r\n\"h\"\r\n")
                                << make(255, 2, -32768, QStringLiteral("h"));
        QTest::newRow("host holding a quote")
            << QByteArray("1\r\n0\r\n80\r\n\"a\"b\"\r\n") << make(1, 0, 80, QStringLiteral("a\"b"));
    }
    void wellFormedFilesRoundTrip() {
        QFETCH(QByteArray, bytes);
        QFETCH(Options, expected);
        ScratchDir dir;
        ScratchDir::write(bytes);
        Options opt;
        options::LoadOpt(opt);
        QCOMPARE(opt, expected);
        QVERIFY(options::SaveOpt(opt));
        QCOMPARE(ScratchDir::read(), bytes);
    }

    void extraLinesGoAtTheNextSave() {
        ScratchDir dir;
        ScratchDir::write("1\r\n1\r\n3128\r\n\"p\"\r\nextra\r\n5\r\n");
        Options opt;
        options::LoadOpt(opt);
        QCOMPARE(opt, make(1, 1, 3128, QStringLiteral("p")));
        QVERIFY(options::SaveOpt(opt));
        QCOMPARE(ScratchDir::read(), QByteArray("1\r\n1\r\n3128\r\n\"p\"\r\n"));
    }

    void malformedFilesFallBackFieldByField_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Options>("expected");
        const Options defaults;
        QTest::newRow("empty file") << QByteArray() << defaults;
        QTest::newRow("two lines only") << QByteArray("1\r\n1\r\n") << make(1, 1, 8080, {});
        QTest::newRow("text for a number")
            << QByteArray("yes\r\n1\r\n80\r\n\"h\"\r\n") << make(0, 1, 80, QStringLiteral("h"));
        QTest::newRow("flag over 255")
            << QByteArray("256\r\n-1\r\n80\r\n\"h\"\r\n") << make(0, 0, 80, QStringLiteral("h"));
        QTest::newRow("port out of range")
            << QByteArray("1\r\n0\r\n65535\r\n\"h\"\r\n") << make(1, 0, 8080, QStringLiteral("h"));
        QTest::newRow("fraction") << QByteArray("1\r\n0\r\n80.5\r\n\"h\"\r\n")
                                  << make(1, 0, 8080, QStringLiteral("h"));
        QTest::newRow("host without quotes")
            << QByteArray("1\r\n0\r\n80\r\nproxy\r\n") << make(1, 0, 80, {});
        QTest::newRow("one quote only")
            << QByteArray("1\r\n0\r\n80\r\n\"proxy\r\n") << make(1, 0, 80, {});
        QTest::newRow("LF line ends") << QByteArray("1\n1\n80\n\"h\"\n") << defaults;
        QTest::newRow("last line without its end")
            << QByteArray("1\r\n0\r\n80\r\n\"h\"") << make(1, 0, 80, QStringLiteral("h"));
        QTest::newRow("binary junk") << QByteArray("\x00\xff\x01\r\n\x80", 6) << defaults;
        QTest::newRow("truncated in line 1") << QByteArray("1\r") << defaults;
        QTest::newRow("truncated in the host")
            << QByteArray("1\r\n1\r\n80\r\n\"pro") << make(1, 1, 80, {});
        QTest::newRow("huge number") << QByteArray("99999999999999999999\r\n1\r\n"
                                                   "99999999999999999999\r\n\"h\"\r\n")
                                     << make(0, 1, 8080, QStringLiteral("h"));
        QTest::newRow("spaces and signs")
            << QByteArray(" 1 \r\n+1\r\n -80\r\n\"h\"\r\n") << make(1, 1, -80, QStringLiteral("h"));
        QTest::newRow("space inside a number") << QByteArray("1 1\r\n- 1\r\n8 0\r\n\"h\"\r\n")
                                               << make(0, 0, 8080, QStringLiteral("h"));
        QTest::newRow("hexadecimal")
            << QByteArray("0x1\r\n0\r\n0x50\r\n\"h\"\r\n") << make(0, 0, 8080, QStringLiteral("h"));
        static constexpr char withNuls[] = "1\0\r\n0\r\n80\r\n\"a\0b\"\r\n";
        QTest::newRow("NUL bytes") << QByteArray(withNuls, sizeof withNuls - 1)
                                   << make(0, 0, 80, QString::fromLatin1("a\0b", 3));
        QTest::newRow("overlong host line")
            << QByteArray("1\r\n0\r\n80\r\n\"" + QByteArray(1 << 20, 'h') + "\"\r\n")
            << make(1, 0, 80, QString(1 << 20, u'h'));
        QTest::newRow("overlong number line")
            << QByteArray(QByteArray(100000, '1') + "\r\n0\r\n80\r\n\"h\"\r\n")
            << make(0, 0, 80, QStringLiteral("h"));
        QTest::newRow("CR only") << QByteArray("1\r0\r80\r\"h\"\r") << defaults;
        QTest::newRow("commas instead of lines") << QByteArray("1,0,80,\"h\"\r\n") << defaults;
        QTest::newRow("blank lines first")
            << QByteArray("\r\n\r\n1\r\n0\r\n80\r\n\"h\"\r\n") << make(0, 0, 1, {});
    }
    void malformedFilesFallBackFieldByField() {
        QFETCH(QByteArray, bytes);
        QFETCH(Options, expected);
        ScratchDir dir;
        ScratchDir::write(bytes);
        Options opt = make(7, 7, 7, QStringLiteral("stale"));
        options::LoadOpt(opt);
        QCOMPARE(opt, expected);
        QCOMPARE(ScratchDir::read(), bytes); // left alone until the next save
    }

    void unreadableFileGivesTheDefaults() {
        ScratchDir dir;
        ScratchDir::write("1\r\n1\r\n80\r\n\"h\"\r\n");
        QFile::setPermissions(QStringLiteral("options.opt"), QFileDevice::WriteOwner);
        QFile probe(QStringLiteral("options.opt"));
        if (probe.open(QIODevice::ReadOnly))
            QSKIP("this user reads files whatever their permissions");
        Options opt = make(7, 7, 7, QStringLiteral("stale"));
        options::LoadOpt(opt);
        QCOMPARE(opt, Options{});
    }

    // A save killed at any moment leaves the whole old file or the whole new one.
    void killedSaveLeavesAWholeFile() {
        ScratchDir dir;
        const QByteArray first = options::formatOptions(stressRecord(true));
        const QByteArray second = options::formatOptions(stressRecord(false));
        ScratchDir::write(first);
        int sawFirst = 0;
        int sawSecond = 0;
        for (int round = 0; round < 40; ++round) {
            QProcess saver;
            saver.setWorkingDirectory(dir.path());
            saver.start(QStringLiteral(SAVESTRESS_PATH), {});
            QVERIFY(saver.waitForStarted());
            QThread::msleep(5 + QRandomGenerator::global()->bounded(40));
            saver.kill();
            QVERIFY(saver.waitForFinished());
            const QByteArray now = ScratchDir::read();
            QVERIFY2(now == first || now == second, qPrintable(QString::number(now.size())));
            (now == first ? sawFirst : sawSecond)++;
        }
        std::printf("killed saves: %d left the first record, %d the second\n", sawFirst, sawSecond);
    }

    void directoryOfThatNameIsNotTheFile() {
        ScratchDir dir;
        QVERIFY(QDir().mkdir(QStringLiteral("options.opt")));
        Options opt = make(1, 1, 1, QStringLiteral("stale"));
        options::LoadOpt(opt);
        QCOMPARE(opt, Options{});
        QVERIFY(!options::SaveOpt(opt));
        QVERIFY(QFileInfo(QStringLiteral("options.opt")).isDir());
    }

    void saveThatCannotCompleteKeepsTheOldFile() {
        ScratchDir dir;
        const QByteArray old("1\r\n0\r\n3128\r\n\"old\"\r\n");
        ScratchDir::write(old);
        if (!dir.setWritable(false))
            QSKIP("cannot make a directory read-only here");
        QVERIFY(!options::SaveOpt(make(0, 1, 80, QStringLiteral("new"))));
        QCOMPARE(ScratchDir::read(), old);

        // And a start in a directory where the file cannot be created still has options.
        QFile::remove(QStringLiteral("options.opt")); // refused: the directory is read-only
        Options opt;
        options::LoadOpt(opt);
        QCOMPARE(opt, make(1, 0, 3128, QStringLiteral("old")));
    }

    void startInReadOnlyDirectoryWithoutFile() {
        ScratchDir dir;
        if (!dir.setWritable(false))
            QSKIP("cannot make a directory read-only here");
        Options opt = make(1, 1, 1, QStringLiteral("stale"));
        options::LoadOpt(opt);
        QCOMPARE(opt, Options{});
        QVERIFY(!QFile::exists(QStringLiteral("options.opt")));
    }
};

QTEST_GUILESS_MAIN(TestOptionsFile)
#include "tst_optionsfile.moc"
