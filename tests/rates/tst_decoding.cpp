// Turning the page's bytes into text: the encoding is found, or guessed, so Cyrillic shows.
#include "rates/decodepage.h"
#include "scratch.h"

#include <QTest>

class TestDecoding : public QObject {
    Q_OBJECT
private slots:
    void encodings_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("contentType");
        const QString text = QStringLiteral("Щатски долар, лев");
        // Written out, not encoded here: Qt on Windows has no windows-1251 encoder of its own.
        const QByteArray win("\xD9\xE0\xF2\xF1\xEA\xE8 \xE4\xEE\xEB\xE0\xF0, \xEB\xE5\xE2");
        const QByteArray koi8("\xFD\xC1\xD4\xD3\xCB\xC9 \xC4\xCF\xCC\xC1\xD2, \xCC\xC5\xD7");
        const QByteArray utf8 = text.toUtf8();
        const QByteArray meta =
            R"(<meta http-equiv="Content-Type" content="text/html; charset=windows-1251">)";
        QTest::newRow("header") << win << QByteArray(R"(text/html; Charset="WINDOWS-1251")");
        QTest::newRow("meta") << meta + win << QByteArray("text/html");
        QTest::newRow("another Cyrillic charset")
            << koi8 << QByteArray("text/html; charset=koi8-r");
        QTest::newRow("meta after 1024 bytes")
            << QByteArray(3000, ' ') + meta + win << QByteArray();
        // KOI8-R is not what a page naming no charset is taken to be: these read right only when
        // the name is found.
        const QByteArray koi8Meta = R"(<meta charset="KOI8-R">)";
        QTest::newRow("meta naming another Cyrillic charset") << koi8Meta + koi8 << QByteArray();
        QTest::newRow("that meta after 1024 bytes")
            << QByteArray(3000, ' ') + koi8Meta + koi8 << QByteArray("text/html");
        QTest::newRow("header naming it, capitalised and quoted")
            << koi8 << QByteArray(R"(text/html; Charset="koi8-r")");
        QTest::newRow("header wins over meta")
            << "<meta charset=windows-1251>" + utf8 << QByteArray("text/html; charset=utf-8");
        QTest::newRow("undeclared UTF-8") << utf8 << QByteArray();
        QTest::newRow("undeclared, not UTF-8") << win << QByteArray();
        QTest::newRow("unknown charset passed over")
            << win << QByteArray("text/html; charset=x-no");
        QTest::newRow("byte order mark")
            << "\xEF\xBB\xBF" + utf8 << QByteArray("text/html; charset=windows-1251");
    }
    void encodings() {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, contentType);
        QVERIFY(rates::decodepage(body, contentType).endsWith(QStringLiteral("Щатски долар, лев")));
    }

    void samplePageDecodesFromItsMeta() {
        const QString text = rates::decodepage(samplePage(), {});
        QVERIFY(text.contains(QStringLiteral("Курсове на българския лев")));
        QVERIFY(!text.contains(QChar::ReplacementCharacter));
    }
};

QTEST_APPLESS_MAIN(TestDecoding)
#include "tst_decoding.moc"
