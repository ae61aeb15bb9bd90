// The numeric fields' values: how a value is shown, read back from its text,
// taken from a settings-file number and written in the overview list, and
// how the controls limit what is put into them.

#include "params/NumericValue.h"
#include "params/ParamCatalogue.h"
#include "params/ParamValues.h"

#include <QRegularExpression>
#include <QTest>

using namespace hmk;

Q_DECLARE_METATYPE(hmk::NumberFormat)

class TestNumericValue : public QObject
{
    Q_OBJECT

private slots:
    void formatNumber_data();
    void formatNumber();
    void formatNumberUsesLocaleSeparators();
    void parseNumber_data();
    void parseNumber();
    void parseNumberEmptyGivesNothing();
    void formattedTextReadsBack();
    void thousandthsFromDouble_data();
    void thousandthsFromDouble();
    void generalFormat_data();
    void generalFormat();
    void limitChoiceIndex_data();
    void limitChoiceIndex();
    void putNumberRoundsWithoutLimiting();
    void applyLimits_data();
    void applyLimits();
    void imageWordIsTwosComplement();
};

void TestNumericValue::formatNumber_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<NumberFormat>("format");
    QTest::addColumn<QString>("text");

    QTest::newRow("rounded to two decimals") << 3456LL << NumberFormat::TwoDecimals << "3.46";
    QTest::newRow("half rounds away from zero") << 3455LL << NumberFormat::TwoDecimals << "3.46";
    QTest::newRow("999.999 shows 1,000.00") << 999999LL << NumberFormat::TwoDecimals << "1,000.00";
    QTest::newRow("one decimal") << 16300LL << NumberFormat::OneDecimal << "16.3";
    QTest::newRow("three decimals") << 1LL << NumberFormat::ThreeDecimals << "0.001";
    QTest::newRow("whole with separator") << 10000000LL << NumberFormat::Whole << "10,000";
    QTest::newRow("whole millions") << 4294967295000LL << NumberFormat::Whole << "4,294,967,295";
    QTest::newRow("whole zero") << 0LL << NumberFormat::Whole << "0";
    QTest::newRow("negative whole in parentheses")
        << -1500000LL << NumberFormat::Whole << "(1,500)";
    QTest::newRow("negative decimal with sign") << -1500LL << NumberFormat::TwoDecimals << "-1.50";
    QTest::newRow("negative rounding to zero has no sign")
        << -4LL << NumberFormat::TwoDecimals << "0.00";
    QTest::newRow("negative half away from zero") << -2500LL << NumberFormat::Whole << "(3)";
}

void TestNumericValue::formatNumber()
{
    QFETCH(qint64, value);
    QFETCH(NumberFormat, format);
    QFETCH(QString, text);
    QCOMPARE(hmk::formatNumber(value, format, QLocale::c()), text);
    QCOMPARE(hmk::formatNumber(value, format, QLocale(QLocale::English, QLocale::UnitedStates)),
             text);
}

void TestNumericValue::formatNumberUsesLocaleSeparators()
{
    const QLocale german(QLocale::German, QLocale::Germany);
    QCOMPARE(hmk::formatNumber(1234567, NumberFormat::TwoDecimals, german), "1.234,57");
    QCOMPARE(hmk::parseNumber(u"1.234,57", german), std::optional<Thousandths>(1234570));
}

void TestNumericValue::parseNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<qint64>("value");

    QTest::newRow("plain") << "3.46" << 2 << 3460LL;
    QTest::newRow("thousands separators dropped") << "10,000" << 0 << 10000000LL;
    QTest::newRow("parentheses are negative") << "(1,500)" << 0 << -1500000LL;
    QTest::newRow("minus sign") << "-1.5" << 1 << -1500LL;
    QTest::newRow("blanks around") << "  7 " << 0 << 7000LL;
    QTest::newRow("fraction only") << ".5" << 1 << 500LL;
    QTest::newRow("fourth decimal rounds half up") << "1.2345" << 3 << 1235LL;
    QTest::newRow("fourth decimal below half") << "1.2344999" << 3 << 1234LL;
    QTest::newRow("negative rounds away from zero") << "-1.2345" << 3 << -1235LL;
    QTest::newRow("third decimal at two decimals") << "3.456" << 2 << 3460LL;
    // Rounding once from all digits: via three decimals 3.4449 would become
    // 3.445 and then 3.45.
    QTest::newRow("no double rounding") << "3.4449" << 2 << 3440LL;
    QTest::newRow("carry into the units") << "9.96" << 1 << 10000LL;
    QTest::newRow("whole number rounds") << "2.5" << 0 << 3000LL;
    QTest::newRow("parenthesised rounds away from zero") << "(2.5)" << 0 << -3000LL;
    QTest::newRow("letters read as 0") << "abc" << 3 << 0LL;
    QTest::newRow("two points read as 0") << "1.2.3" << 3 << 0LL;
    QTest::newRow("exponent is not a field text") << "1e3" << 3 << 0LL;
    QTest::newRow("lone sign reads as 0") << "-" << 3 << 0LL;
    QTest::newRow("huge saturates") << "99999999999999999999999" << 3 << ThousandthsLimit;
}

// A typed text is read as a value put in by the program would be: the same
// text given as a settings-file number lands on the same thousandths.
void TestNumericValue::parseNumber()
{
    QFETCH(QString, text);
    QFETCH(int, decimals);
    QFETCH(qint64, value);
    QCOMPARE(hmk::parseNumber(text, QLocale::c(), decimals), std::optional<Thousandths>(value));
    static const QRegularExpression plainDecimal(QStringLiteral(R"(^-?\d*\.?\d+$)"));
    if (plainDecimal.match(text.trimmed()).hasMatch() && value != ThousandthsLimit)
        QCOMPARE(hmk::thousandthsFromDouble(text.toDouble(), decimals), value);
}

void TestNumericValue::parseNumberEmptyGivesNothing()
{
    QCOMPARE(hmk::parseNumber(u"", QLocale::c()), std::nullopt);
    QCOMPARE(hmk::parseNumber(u"   ", QLocale::c()), std::nullopt);
}

// What a field shows is what it holds: formatting and reading back must
// agree for every format, including the parenthesised negatives.
void TestNumericValue::formattedTextReadsBack()
{
    const QLocale locale = QLocale::c();
    for (Thousandths v : {0LL, 1LL, 999LL, 1000LL, -1500LL, 123456789LL, -4294967295000LL}) {
        for (NumberFormat f : {NumberFormat::TwoDecimals, NumberFormat::OneDecimal,
                               NumberFormat::ThreeDecimals, NumberFormat::Whole}) {
            const Thousandths shown = roundToDecimals(v, decimalsOf(f));
            QCOMPARE(hmk::parseNumber(hmk::formatNumber(v, f, locale), locale),
                     std::optional<Thousandths>(shown));
        }
    }
}

void TestNumericValue::thousandthsFromDouble_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<qint64>("thousandths");

    QTest::newRow("16.3 is exactly 16300") << 16.3 << 1 << 16300LL;
    QTest::newRow("0.001 is exactly 1") << 0.001 << 3 << 1LL;
    QTest::newRow("1.005 rounds up, not down") << 1.005 << 2 << 1010LL;
    QTest::newRow("999.999 to two decimals") << 999.999 << 2 << 1000000LL;
    QTest::newRow("999.999 to three decimals") << 999.999 << 3 << 999999LL;
    QTest::newRow("negative") << -1.5 << 2 << -1500LL;
    QTest::newRow("negative half away from zero") << -2.5 << 0 << -3000LL;
    QTest::newRow("whole number") << 4294967295.0 << 0 << 4294967295000LL;
    QTest::newRow("tiny is zero") << 1e-300 << 3 << 0LL;
    QTest::newRow("huge saturates") << 1e300 << 2 << ThousandthsLimit;
    QTest::newRow("huge negative saturates") << -1e300 << 2 << -ThousandthsLimit;
    QTest::newRow("infinity saturates")
        << std::numeric_limits<double>::infinity() << 3 << ThousandthsLimit;
    QTest::newRow("not a number is 0") << std::numeric_limits<double>::quiet_NaN() << 3 << 0LL;
}

void TestNumericValue::thousandthsFromDouble()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(qint64, thousandths);
    QCOMPARE(hmk::thousandthsFromDouble(value, decimals), thousandths);
}

void TestNumericValue::generalFormat_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("whole") << 3000LL << "3";
    QTest::newRow("no separator") << 10000000LL << "10000";
    QTest::newRow("smallest") << 1LL << "0.001";
    QTest::newRow("trailing zeros dropped") << 1500LL << "1.5";
    QTest::newRow("largest field value") << 4294967295000LL << "4294967295";
    QTest::newRow("negative") << -1500LL << "-1.5";
    QTest::newRow("zero") << 0LL << "0";
    QTest::newRow("fifteen integer digits") << 999999999999999000LL << "999999999999999";
    QTest::newRow("sixteen integer digits go scientific")
        << 1234567890123456000LL << "1.23456789012346E15";
    QTest::newRow("rounded to fifteen digits") << 123456789012345678LL << "123456789012346";
}

void TestNumericValue::generalFormat()
{
    QFETCH(qint64, value);
    QFETCH(QString, text);
    QCOMPARE(hmk::generalFormat(value, QLocale::c()), text);
}

void TestNumericValue::limitChoiceIndex_data()
{
    QTest::addColumn<qint64>("index");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("selected");

    QTest::newRow("in range") << 1LL << 3 << 1;
    QTest::newRow("above last selects last") << 7LL << 2 << 1;
    QTest::newRow("just above last") << 3LL << 3 << 2;
    QTest::newRow("-1 selects nothing") << -1LL << 2 << -1;
    QTest::newRow("below -1 selects nothing") << -5LL << 2 << -1;
    QTest::newRow("most negative 32-bit") << qint64(INT_MIN) << 3 << -1;
    QTest::newRow("unsigned all ones") << 4294967295LL << 3 << 2;
}

void TestNumericValue::limitChoiceIndex()
{
    QFETCH(qint64, index);
    QFETCH(int, count);
    QFETCH(int, selected);
    QCOMPARE(hmk::limitChoiceIndex(index, count), selected);
}

void TestNumericValue::putNumberRoundsWithoutLimiting()
{
    const ParamEntry& punchHeight = *findParam(u"PunchHeight");
    QCOMPARE(putNumber(punchHeight, 3456), 3460);
    QCOMPARE(putNumber(punchHeight, 50000), 50000); // above Max 10, kept until the user leaves
    const ParamEntry& moveSpeed = *findParam(u"MoveSpeed");
    QCOMPARE(putNumber(moveSpeed, 200400), 200000);
}

void TestNumericValue::applyLimits_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("typed");
    QTest::addColumn<qint64>("kept");

    QTest::newRow("above max") << "PunchHeight" << 50000LL << 10000LL;
    QTest::newRow("below min") << "PunchHeight" << 100LL << 200LL;
    QTest::newRow("inside") << "PunchHeight" << 3000LL << 3000LL;
    QTest::newRow("ZRange 1000.00 back to 999.99") << "ZRange" << 1000000LL << 999990LL;
    QTest::newRow("no limits keep negatives") << "CyrusCoordinate" << -1500LL << -1500LL;
    QTest::newRow("no limits keep large") << "StayCoordinate" << 9999999LL << 9999999LL;
    QTest::newRow("max 1 is a limit") << "ServoDirection" << 2000LL << 1000LL;
}

void TestNumericValue::applyLimits()
{
    QFETCH(QString, name);
    QFETCH(qint64, typed);
    QFETCH(qint64, kept);
    const ParamEntry* entry = findParam(name);
    QVERIFY(entry);
    QCOMPARE(hmk::applyLimits(*entry, typed), kept);
}

void TestNumericValue::imageWordIsTwosComplement()
{
    QCOMPARE(imageWord(-1500), 0xFFFFFA24u);
    QCOMPARE(imageWord(3000), 3000u);
}

QTEST_GUILESS_MAIN(TestNumericValue)
#include "tst_numericvalue.moc"
