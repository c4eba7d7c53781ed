// Turning the page's bytes into text: the encoding is found, or guessed, so Cyrillic shows.
#include "pagefile.h"
#include "rates/decodepage.h"

#include <QStringEncoder>
#include <QTest>

namespace {

const QString Cyrillic = QStringLiteral("Щатски долар, лев");

QByteArray cp1251(const QString& text) {
    QStringEncoder encoder("windows-1251");
    return encoder.encode(text);
}

} // namespace

class TestDecoding : public QObject {
    Q_OBJECT
private slots:
    void encodings_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("contentType");
        const QByteArray win = cp1251(Cyrillic);
        const QByteArray utf8 = Cyrillic.toUtf8();
        const QByteArray metaWin =
            R"(<meta http-equiv="Content-Type" content="text/html; charset=windows-1251">)";
        QTest::newRow("header names windows-1251")
            << win << QByteArray("text/html; charset=windows-1251");
        QTest::newRow("header charset quoted, any case")
            << win << QByteArray(R"(text/html; Charset="WINDOWS-1251")");
        QTest::newRow("meta names windows-1251") << metaWin + win << QByteArray("text/html");
        QTest::newRow("meta short form") << "<meta charset=utf-8>" + utf8 << QByteArray();
        QTest::newRow("meta after 1024 bytes of head")
            << QByteArray(3000, ' ') + metaWin + win << QByteArray("text/html");
        QTest::newRow("header wins over meta")
            << "<meta charset=windows-1251>" + utf8 << QByteArray("text/html; charset=utf-8");
        QTest::newRow("nothing declared, valid UTF-8") << utf8 << QByteArray();
        QTest::newRow("nothing declared, not UTF-8") << win << QByteArray();
        QTest::newRow("unknown charset is passed over")
            << win << QByteArray("text/html; charset=x-no-such-thing");
        QTest::newRow("byte order mark")
            << "\xEF\xBB\xBF" + utf8 << QByteArray("text/html; charset=windows-1251");
    }
    void encodings() {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, contentType);
        QVERIFY2(rates::decodepage(body, contentType).endsWith(Cyrillic),
                 qPrintable(rates::decodepage(body, contentType).right(40)));
    }

    void samplePageDecodesFromItsMeta() {
        const QString text = rates::decodepage(samplePage(), {});
        QVERIFY(text.contains(QStringLiteral("Курсове на българския лев")));
        QVERIFY(!text.contains(QChar::ReplacementCharacter));
    }

    void invalidUtf8DeclaredAsUtf8DoesNotFail() {
        const QString text = rates::decodepage("ok \xC0\xFF ok", "text/html; charset=utf-8");
        QVERIFY(text.startsWith(QStringLiteral("ok ")));
        QVERIFY(text.endsWith(QStringLiteral(" ok")));
    }

    void nulBytesSurvive() {
        const QString text = rates::decodepage(QByteArray("a\0b", 3), {});
        QCOMPARE(text.size(), 3);
    }
};

QTEST_APPLESS_MAIN(TestDecoding)
#include "tst_decoding.moc"
