// options.opt: the exact bytes written, what is read back, and that nothing a person or a
// failure can do to the file loses the options or stops the program.
#include "options/optionsfile.h"
#include "workdir.h"

#include <QTest>

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
