// The shared number reading and the US dollar caption built from it.
#include "rates/numread.h"
#include "rates/usdcaption.h"

#include <QTest>
#include <clocale>
#include <limits>

class TestNumbers : public QObject {
    Q_OBJECT
private slots:
    void readNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        QTest::newRow("plain") << "1.95583" << 1.95583;
        QTest::newRow("integer") << "8080" << 8080.0;
        QTest::newRow("leading blanks") << "   1.95583" << 1.95583;
        QTest::newRow("blanks inside") << "1 2\t3\n4" << 1234.0;
        QTest::newRow("CR LF around") << "\r\n1.5\r\n" << 1.5;
        QTest::newRow("comma ends it") << "1,95583" << 1.0;
        QTest::newRow("second point ends it") << "1.2.3" << 1.2;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("text first") << "USD 1.5" << 0.0;
        QTest::newRow("negative") << "-12" << -12.0;
        QTest::newRow("plus") << "+7" << 7.0;
        QTest::newRow("sign then blank") << "- 5" << -5.0;
        QTest::newRow("two signs") << "--5" << 0.0;
        QTest::newRow("point first") << ".5" << 0.5;
        QTest::newRow("lone point") << "." << 0.0;
        QTest::newRow("exponent") << "1.5E3" << 1500.0;
        QTest::newRow("small e, signed") << "25e-1" << 2.5;
        QTest::newRow("exponent without digits") << "2E" << 2.0;
        QTest::newRow("exponent sign without digits") << "2E+x" << 2.0;
        QTest::newRow("no hexadecimal") << "&H10" << 0.0;
        QTest::newRow("D is no exponent") << "1D2" << 1.0;
        QTest::newRow("trailing text") << "3128abc" << 3128.0;
        QTest::newRow("underflow") << "1e-9999" << 0.0;
        QTest::newRow("overflow") << "1e9999" << std::numeric_limits<double>::infinity();
        QTest::newRow("negative overflow") << "-1e9999" << -std::numeric_limits<double>::infinity();
        QTest::newRow("arabic-indic digits are not digits") << QString::fromUtf8("\u0661") << 0.0;
    }
    void readNumber() {
        QFETCH(QString, text);
        QFETCH(double, number);
        QCOMPARE(rates::readNumber(text), number);
    }

    void readNumberIgnoresTheLocale() {
        const QLocale saved;
        QLocale::setDefault(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
        std::setlocale(LC_ALL, "bg_BG.UTF-8");
        QCOMPARE(rates::readNumber(u"1.25"), 1.25);
        QCOMPARE(rates::usdCaption(1.25), QStringLiteral(" 1.25 ЛВ"));
        std::setlocale(LC_ALL, "C");
        QLocale::setDefault(saved);
    }

    void usdCaption_data() {
        QTest::addColumn<double>("rate");
        QTest::addColumn<QString>("caption");
        QTest::newRow("rounded to three") << 1.95583 << " 1.956 ЛВ";
        QTest::newRow("whole") << 2.0 << " 2 ЛВ";
        QTest::newRow("zero") << 0.0 << " 0 ЛВ";
        QTest::newRow("trailing zeros dropped") << 1.5 << " 1.5 ЛВ";
        QTest::newRow("tie to even, down") << 0.0625 << " 0.062 ЛВ";
        QTest::newRow("tie to even, up") << 0.1875 << " 0.188 ЛВ";
        QTest::newRow("negative") << -1.23456 << "-1.235 ЛВ";
        QTest::newRow("tiny negative is zero") << -0.0004 << " 0 ЛВ";
        QTest::newRow("large") << 1234567.891 << " 1234567.891 ЛВ";
        QTest::newRow("exponent form") << 1e15 << " 1E+15 ЛВ";
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << " 0 ЛВ";
    }
    void usdCaption() {
        QFETCH(double, rate);
        QFETCH(QString, caption);
        QCOMPARE(rates::usdCaption(rate), caption);
    }
};

QTEST_APPLESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
