#include "image/Codepage.h"

#include <QHash>
#include <QTest>

namespace cp936 = hmk::cp936;

class TestCodepage : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void encodeMissingCharacter_data();
    void encodeMissingCharacter();
    void decodeBadBytes_data();
    void decodeBadBytes();
    void decodeAnyBytes();
    void truncate_data();
    void truncate();
};

void TestCodepage::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("ASCII") << "HMK725  " << QByteArray("HMK725  ");
    QTest::newRow("font name") << QStringLiteral("宋体") << QByteArray("\xCB\xCE\xCC\xE5");
    QTest::newRow("euro sign") << QStringLiteral("€") << QByteArray("\x80");
    QTest::newRow("title") << QStringLiteral("HMK725独立式调高器")
                           << QByteArray("HMK725\xB6\xC0\xC1\xA2\xCA\xBD\xB5\xF7\xB8\xDF\xC6\xF7");
    QTest::newRow("full-width punctuation")
        << QStringLiteral("设置！") << QByteArray("\xC9\xE8\xD6\xC3\xA3\xA1");
    QTest::newRow("GBK extension") << QStringLiteral("丂") << QByteArray("\x81\x40");
}

void TestCodepage::roundTrip()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(cp936::encode(text), bytes);
    QCOMPARE(cp936::byteCount(text), int(bytes.size()));
    QCOMPARE(cp936::decode(bytes), text);
}

void TestCodepage::encodeMissingCharacter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("Thai") << QStringLiteral("a\u0E01b") << QByteArray("a?b");
    QTest::newRow("outside the basic plane") << QStringLiteral("\U0001F600") << QByteArray("?");
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + "x" << QByteArray("?x");
}

void TestCodepage::encodeMissingCharacter()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(cp936::encode(text), bytes);
}

void TestCodepage::decodeBadBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    const QString bad(QChar::ReplacementCharacter);
    QTest::newRow("0xFF") << QByteArray("\xFF") << bad;
    QTest::newRow("lone trailing lead byte") << QByteArray("ab\xCB") << "ab" + bad;
    // 0x40-0x7E are trail bytes too ("\xCB" "A" is one character); a blank
    // is not.
    QTest::newRow("lead byte before a blank") << QByteArray("\xCB ab") << bad + " ab";
    QTest::newRow("name cut at 8 bytes")
        << QByteArray("a\xB5\xF7\xB8\xDF\xC6\xF7\xB5") << QStringLiteral("a调高器") + bad;
}

void TestCodepage::decodeBadBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(cp936::decode(bytes), text);
}

// Whatever a damaged image holds decodes, one character or U+FFFD at a
// time: every pair of bytes that some character encodes to decodes back to
// that character, and every other pair falls back to its two bytes one by
// one, a lead byte alone giving U+FFFD (0x80 alone is the euro sign).
void TestCodepage::decodeAnyBytes()
{
    // The pairs the code page uses, found through encoding every character
    // of the basic plane.
    QHash<QByteArray, QChar> characterOf;
    for (char16_t u = 0x80; u < 0xFFFF; ++u) {
        if (QChar::isSurrogate(u))
            continue;
        const QByteArray bytes = cp936::encode(QStringView(&u, 1));
        if (bytes.size() == 2)
            characterOf.insert(bytes, QChar(u));
    }
    QVERIFY2(characterOf.size() > 20000, "the code page encodes too few characters");

    const QString bad(QChar::ReplacementCharacter);
    const auto alone = [&](int byte) {
        if (byte < 0x80)
            return QString(QChar(byte));
        return byte == 0x80 ? QStringLiteral("€") : bad;
    };
    QByteArray all;
    for (int lead = 0x80; lead < 0x100; ++lead) {
        for (int trail = 0; trail < 0x100; ++trail) {
            QByteArray pair;
            pair += char(lead);
            pair += char(trail);
            all += pair;
            const QString text = cp936::decode(pair);
            const auto known = characterOf.constFind(pair);
            const QString expected =
                known != characterOf.cend() ? QString(*known) : alone(lead) + alone(trail);
            if (text != expected)
                QFAIL(qPrintable(
                    QStringLiteral("%1 %2 gives U+%3, not U+%4")
                        .arg(lead, 2, 16)
                        .arg(trail, 2, 16)
                        .arg(text.isEmpty() ? 0 : text.front().unicode(), 4, 16, QLatin1Char('0'))
                        .arg(expected.front().unicode(), 4, 16, QLatin1Char('0'))));
        }
    }
    // The whole damaged buffer in one go: at most one character a byte.
    const QString text = cp936::decode(all);
    QVERIFY(!text.isEmpty());
    QVERIFY(text.size() <= all.size());
}

void TestCodepage::truncate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxBytes");
    QTest::addColumn<QString>("kept");

    QTest::newRow("fits") << QStringLiteral("宋体") << 4 << QStringLiteral("宋体");
    QTest::newRow("room to spare") << QStringLiteral("宋体") << 24 << QStringLiteral("宋体");
    QTest::newRow("cut between") << QStringLiteral("宋体abc") << 5 << QStringLiteral("宋体a");
    QTest::newRow("cut inside") << QStringLiteral("宋体") << 3 << QStringLiteral("宋");
    QTest::newRow("cut inside after ASCII")
        << QStringLiteral("a宋体") << 4 << QStringLiteral("a宋");
    QTest::newRow("first character too wide") << QStringLiteral("宋") << 1 << QString();
    QTest::newRow("ASCII") << "abcdef" << 2 << "ab";
    QTest::newRow("zero") << "abc" << 0 << QString();
    QTest::newRow("25-byte title") << QStringLiteral("HMK725独立式调高器ABCDEFG") << 24
                                   << QStringLiteral("HMK725独立式调高器ABCDEF");
    QTest::newRow("25-byte title, cut inside") << QStringLiteral("x一二三四五六七八九十十一") << 24
                                               << QStringLiteral("x一二三四五六七八九十十");
}

void TestCodepage::truncate()
{
    QFETCH(QString, text);
    QFETCH(int, maxBytes);
    QFETCH(QString, kept);
    QCOMPARE(cp936::truncateToBytes(text, maxBytes), kept);
    const QByteArray bytes = cp936::encodeTruncated(text, maxBytes);
    QCOMPARE(bytes, cp936::encode(kept));
    QVERIFY(bytes.size() <= maxBytes);
}

QTEST_GUILESS_MAIN(TestCodepage)
#include "tst_codepage.moc"
