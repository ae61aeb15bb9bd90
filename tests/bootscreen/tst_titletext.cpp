// The byte rules of the title fields: cut, centring pad and key rule, all
// counted in code page 936 bytes (a Chinese character is two).

#include "bootscreen/BootScreenModel.h"
#include "image/Codepage.h"

#include <QTest>

using namespace hmk;

class TitleTextTest : public QObject
{
    Q_OBJECT
private slots:
    void centerTitle_data();
    void centerTitle();
    void truncateTitle_data();
    void truncateTitle();
    void keyRule_data();
    void keyRule();
    void committedText_data();
    void committedText();
};

void TitleTextTest::centerTitle_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("front");
    QTest::addColumn<int>("back");

    QTest::newRow("empty: 24 spaces") << QString() << 12 << 12;
    QTest::newRow("3 bytes: odd gap, extra space behind") << QStringLiteral("ABC") << 10 << 11;
    QTest::newRow("21 bytes") << QString(21, QLatin1Char('x')) << 1 << 2;
    QTest::newRow("22 bytes") << QString(22, QLatin1Char('x')) << 1 << 1;
    QTest::newRow("23 bytes: still one space in front") << QString(23, QLatin1Char('x')) << 1 << 2;
    QTest::newRow("24 bytes: unchanged") << QString(24, QLatin1Char('x')) << 0 << 0;
    QTest::newRow("Chinese counts two bytes each") << QStringLiteral("调高器") << 9 << 9;
}

void TitleTextTest::centerTitle()
{
    QFETCH(QString, title);
    QFETCH(int, front);
    QFETCH(int, back);
    const QString expected =
        QString(front, QLatin1Char(' ')) + title + QString(back, QLatin1Char(' '));
    QCOMPARE(CenterTitle(title), expected);
}

void TitleTextTest::truncateTitle_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("within the limit") << DefaultMainTitle << DefaultMainTitle;
    QTest::newRow("exactly 24") << QString(24, QLatin1Char('a')) << QString(24, QLatin1Char('a'));
    QTest::newRow("25 ASCII") << QString(25, QLatin1Char('a')) << QString(24, QLatin1Char('a'));
    QTest::newRow("13 Chinese") << QString(13, QChar(u'调')) << QString(12, QChar(u'调'));
    // The cut would split the character at bytes 24-25: it goes whole, so
    // no replacement sign or half character ever reaches the image.
    QTest::newRow("split character dropped")
        << QString(23, QLatin1Char('a')) + QStringLiteral("调") << QString(23, QLatin1Char('a'));
}

void TitleTextTest::truncateTitle()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const QString cut = TruncateTitle(text, 24);
    QCOMPARE(cut, expected);
    QVERIFY(cp936::byteCount(cut) <= 24);
}

void TitleTextTest::keyRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("accepted");

    const QString full(24, QLatin1Char('a'));
    QTest::newRow("24th ASCII character") << QString(23, QLatin1Char('a')) << int('b') << true;
    QTest::newRow("25th ASCII character") << full << int('b') << false;
    QTest::newRow("Chinese character at 23 bytes")
        << QString(23, QLatin1Char('a')) << int(u'调') << true;
    QTest::newRow("Chinese character at 24 bytes")
        << QString(12, QChar(u'调')) << int(u'调') << false;
    QTest::newRow("space is printable") << full << int(' ') << false;
    QTest::newRow("Backspace in a full field") << full << 8 << true;
    QTest::newRow("Ctrl+V in a full field") << full << 22 << false;
    QTest::newRow("Ctrl+V below 24 bytes") << QString(23, QLatin1Char('a')) << 22 << true;
    QTest::newRow("Ctrl+C in a full field") << full << 3 << true;
}

void TitleTextTest::keyRule()
{
    QFETCH(QString, text);
    QFETCH(int, key);
    QFETCH(bool, accepted);
    QCOMPARE(titleKeyAccepted(text, char16_t(key)), accepted);
}

void TitleTextTest::committedText_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QString>("committed");
    QTest::addColumn<QString>("taken");

    const QString a23(23, QLatin1Char('a'));
    const QString a22(22, QLatin1Char('a'));
    const QString full(24, QLatin1Char('a'));
    QTest::newRow("full title takes nothing") << full << full << "调高"
                                              << "";
    QTest::newRow("at 23 bytes one character of any width") << a23 << a23 << "调高"
                                                            << "调";
    QTest::newRow("ASCII up to 24 bytes") << a22 << a22 << "xyz"
                                          << "xy";
    QTest::newRow("at 22 bytes a second character may pass 24") << a22 << a22 << "x调高"
                                                                << "x调";
    QTest::newRow("empty title takes a long commit") << QString() << QString() << "等离子切割"
                                                     << "等离子切割";
    // The selection counts for the first character only, as for a key.
    QTest::newRow("selection replaced by the first character")
        << full << QString(20, QLatin1Char('a')) << "调高器"
        << "";
    QTest::newRow("selection in a title below 24 bytes")
        << a23 << QString(20, QLatin1Char('a')) << "调高器"
        << "调高";
    QTest::newRow("control characters dropped") << QString() << QString() << "a\tb\nc"
                                                << "abc";
}

void TitleTextTest::committedText()
{
    QFETCH(QString, before);
    QFETCH(QString, kept);
    QFETCH(QString, committed);
    QFETCH(QString, taken);
    QCOMPARE(titleCommitAccepted(before, kept, committed), taken);
}

QTEST_GUILESS_MAIN(TitleTextTest)
#include "tst_titletext.moc"
