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
        const double inf = std::numeric_limits<double>::infinity();
        const std::initializer_list<std::pair<const char*, double>> rows{{"1.95583", 1.95583},
                                                                         {"   1.95583", 1.95583},
                                                                         {"1 2\t3\n4", 1234},
                                                                         {"\r\n1.5\r\n", 1.5},
                                                                         {"1,95583", 1},
                                                                         {"1.2.3", 1.2},
                                                                         {"", 0},
                                                                         {"USD 1.5", 0},
                                                                         {"- 5", -5},
                                                                         {"+7", 7},
                                                                         {"--5", 0},
                                                                         {".5", 0.5},
                                                                         {"1.5E3", 1500},
                                                                         {"25e-1", 2.5},
                                                                         {"2E+x", 2},
                                                                         {"&H10", 0},
                                                                         {"1D2", 1},
                                                                         {"3128abc", 3128},
                                                                         {"1e-9999", 0},
                                                                         {"1e9999", inf},
                                                                         {"-1e9999", -inf}};
        for (const auto& [text, number] : rows)
            QTest::newRow(*text != 0 ? text : "empty") << QString::fromUtf8(text) << number;
    }
    void readNumber() {
        QFETCH(QString, text);
        QFETCH(double, number);
        QCOMPARE(rates::readNumber(text), number);
    }

    void usdCaption_data() {
        QTest::addColumn<double>("rate");
        QTest::addColumn<QString>("caption");
        QTest::newRow("rounded to three") << 1.95583 << " 1.956 ЛВ";
        QTest::newRow("whole") << 2.0 << " 2 ЛВ";
        QTest::newRow("zero") << 0.0 << " 0 ЛВ";
        QTest::newRow("tie to even, down") << 0.0625 << " 0.062 ЛВ";
        QTest::newRow("tie to even, up") << 0.1875 << " 0.188 ЛВ";
        QTest::newRow("negative") << -1.23456 << "-1.235 ЛВ";
        QTest::newRow("tiny negative is zero") << -0.0004 << " 0 ЛВ";
        QTest::newRow("exponent form") << 1e15 << " 1E+15 ЛВ";
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << " 0 ЛВ";
    }
    void usdCaption() {
        QFETCH(double, rate);
        QFETCH(QString, caption);
        QCOMPARE(rates::usdCaption(rate), caption);
    }

    void theLocaleChangesNothing() {
        // Bulgarian writes a decimal comma; the names are Linux's and Windows'.
        const char* taken = nullptr;
        for (const char* name : {"bg_BG.UTF-8", "bg_BG.utf8", "bg-BG", "Bulgarian_Bulgaria.1251"}) {
            if ((taken = std::setlocale(LC_ALL, name)) != nullptr)
                break;
        }
        if (taken == nullptr)
            QSKIP("no Bulgarian locale on this system (./dev test generates bg_BG.UTF-8)");
        QCOMPARE(*std::localeconv()->decimal_point, ',');
        QLocale::setDefault(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
        QCOMPARE(rates::readNumber(u"1.25"), 1.25);
        QCOMPARE(rates::usdCaption(1.25), QStringLiteral(" 1.25 ЛВ"));
    }
};

QTEST_APPLESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
