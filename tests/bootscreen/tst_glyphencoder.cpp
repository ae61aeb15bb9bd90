// Titles drawn into device glyphs: where each character's columns land in
// the strip, what the description fields receive, and the fonts that draw
// them on a machine without the Windows faces.

#include "bootscreen/BootScreenModel.h"
#include "bootscreen/FontList.h"
#include "bootscreen/GlyphEncoder.h"
#include "image/Codepage.h"
#include "image/ImageLayout.h"

#include <QTest>

using namespace hmk;

namespace {

const QString Song = QStringLiteral("宋体");

// The strip of one title as saved: bands 0 and 1 of the image.
QByteArray mainStrip(const THMK725ConfigData& config)
{
    return config.bytes().sliced(layout::MainTitleStrip, layout::TitleStripSize);
}

bool columnHasInk(const QByteArray& strip, int column)
{
    return strip[column] != 0 || strip[layout::BandSize + column] != 0;
}

// The columns a single character draws in its own cell: upper bytes, then
// lower bytes.
QByteArray glyphOf(QChar ch, const QFont& font)
{
    GlyphBuffers glyphs;
    glyphs.RenderLogoChar(ch, font);
    return glyphs.FFontsUp.first(glyphs.FFontsCount) + glyphs.FFontsLow.first(glyphs.FFontsCount);
}

QByteArray encodeMain(THMK725ConfigData& config, const QString& title,
                      const QString& fontName = Song)
{
    GlyphBuffers glyphs;
    EncodeLogoTitle(config, glyphs, title, fontName, titleFont(Song), true);
    return mainStrip(config);
}

} // namespace

class GlyphEncoderTest : public QObject
{
    Q_OBJECT
private slots:
    void windowsFacesHaveStandIns_data();
    void windowsFacesHaveStandIns();
    void glyphsAreOneBitAndWhole();
    void titlePlacement_data();
    void titlePlacement();
    void letterColumnsInStrip();
    void wideCharacterOfOneByte();
    void emptyTitle();
    void subtitleGoesToLowerBands();
    void longTitleCutBeforeEncoding();
    void earlierTitleTailStays();
    void fontNameCutToRoom_data();
    void fontNameCutToRoom();
};

void GlyphEncoderTest::windowsFacesHaveStandIns_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("answered");
    QTest::addColumn<QString>("drawnWith");

    const QString uming = QStringLiteral("AR PL UMing CN");
    const QString zenhei = QStringLiteral("WenQuanYi Zen Hei Sharp");
    QTest::newRow("宋体") << Song << Song << uming;
    QTest::newRow("SimSun") << QStringLiteral("SimSun") << QStringLiteral("SimSun") << uming;
    QTest::newRow("simsun, any case")
        << QStringLiteral("simsun") << QStringLiteral("simsun") << uming;
    QTest::newRow("新宋体") << QStringLiteral("新宋体") << QStringLiteral("新宋体") << uming;
    QTest::newRow("NSimSun") << QStringLiteral("NSimSun") << QStringLiteral("NSimSun") << uming;
    QTest::newRow("黑体") << QStringLiteral("黑体") << QStringLiteral("黑体") << zenhei;
    QTest::newRow("SimHei") << QStringLiteral("SimHei") << QStringLiteral("SimHei") << zenhei;
    QTest::newRow("an installed family") << uming << uming << uming;
    QTest::newRow("installed, other case") << QStringLiteral("ar pl uming cn") << uming << uming;
    QTest::newRow("not installed") << QStringLiteral("No Such Face") << QString() << QString();
    QTest::newRow("empty") << QString() << QString() << QString();
}

void GlyphEncoderTest::windowsFacesHaveStandIns()
{
    QFETCH(QString, face);
    QFETCH(QString, answered);
    QFETCH(QString, drawnWith);
    QCOMPARE(installedFaceName(face), answered);
    QCOMPARE(drawingFamily(face), drawnWith);
}

// Every pixel of a drawn character is pure black or pure white (no grey
// edges that the ink rule would silently drop), and nothing is drawn below
// the 16-row cell, where it would be lost.
void GlyphEncoderTest::glyphsAreOneBitAndWhole()
{
    const QString text = DefaultMainTitle + QStringLiteral("gjy_|国黑");
    for (const QString& face : {Song, QStringLiteral("黑体")}) {
        const QFont font = titleFont(face);
        for (const QChar ch : text) {
            GlyphBuffers glyphs;
            glyphs.imgFont.fill(Qt::white);
            glyphs.RenderLogoChar(ch, font);
            for (int y = 0; y < glyphs.imgFont.height(); ++y) {
                for (int x = 0; x < glyphs.imgFont.width(); ++x) {
                    const QRgb pixel = glyphs.imgFont.pixel(x, y) & 0xFFFFFF;
                    // Kept in a named array: qPrintable of a temporary
                    // dangles once its statement ends.
                    const QByteArray where = QStringLiteral("%1 '%2' at (%3, %4)")
                                                 .arg(face, QString(ch))
                                                 .arg(x)
                                                 .arg(y)
                                                 .toLocal8Bit();
                    QVERIFY2(pixel == 0 || pixel == 0xFFFFFF, where.constData());
                    QVERIFY2(y < 16 || pixel != 0, where.constData());
                }
            }
            const QByteArray glyph = glyphOf(ch, font);
            QVERIFY2(glyph.count('\0') < glyph.size(), qPrintable(QString(ch) + " has no ink"));
        }
    }
}

void GlyphEncoderTest::titlePlacement_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("first"); // first and last column that may hold ink
    QTest::addColumn<int>("last");

    QTest::newRow("ABC: 10 spaces in front") << QStringLiteral("ABC") << 80 << 103;
    QTest::newRow("22 bytes: one space each side") << QString(22, QLatin1Char('H')) << 8 << 183;
    QTest::newRow("23 bytes: runs to the edge") << QString(23, QLatin1Char('H')) << 8 << 191;
    QTest::newRow("12 Chinese characters") << QString(12, QChar(u'国')) << 0 << 191;
}

void GlyphEncoderTest::titlePlacement()
{
    QFETCH(QString, title);
    QFETCH(int, first);
    QFETCH(int, last);
    THMK725ConfigData config;
    const QByteArray strip = encodeMain(config, title);
    for (int c = 0; c < layout::BandSize; ++c) {
        if (c < first || c > last)
            QVERIFY2(!columnHasInk(strip, c), qPrintable(QString::number(c)));
    }
    // Ink at both ends: the first and the last character are really there.
    auto inkIn = [&](int from, int to) {
        for (int c = from; c <= to; ++c) {
            if (columnHasInk(strip, c))
                return true;
        }
        return false;
    };
    QVERIFY(inkIn(first, first + 7));
    QVERIFY(inkIn(last - 7, last));
}

// In "AB" the letter A is centred to columns 88-95: strip bytes 88-95 hold
// its top eight rows and bytes 280-287 its bottom eight.
void GlyphEncoderTest::letterColumnsInStrip()
{
    THMK725ConfigData config;
    const QByteArray strip = encodeMain(config, QStringLiteral("AB"));
    const QByteArray a = glyphOf(u'A', titleFont(Song));
    QCOMPARE(strip.sliced(88, 8), a.first(8));
    QCOMPARE(strip.sliced(280, 8), a.sliced(8, 8));
}

// The euro sign is one byte in the code page but takes 16 columns, like
// every character above 127: the A behind it moves on by 16.
void GlyphEncoderTest::wideCharacterOfOneByte()
{
    QCOMPARE(cp936::byteCount(QStringLiteral("€")), 1);
    THMK725ConfigData config;
    const QByteArray strip = encodeMain(config, QStringLiteral("€A"));
    const QByteArray a = glyphOf(u'A', titleFont(Song));
    QCOMPARE(strip.sliced(104, 8), a.first(8));
    QCOMPARE(strip.sliced(layout::BandSize + 104, 8), a.sliced(8, 8));
}

void GlyphEncoderTest::emptyTitle()
{
    THMK725ConfigData config;
    config.ExportLogoFonts(QByteArray(layout::TitleStripSize, '\xFF'), layout::MainTitleStrip,
                           layout::TitleStripSize);
    QCOMPARE(encodeMain(config, QString()), QByteArray(layout::TitleStripSize, '\0'));
    QCOMPARE(config.Logo1Len(), 0u);
    QCOMPARE(config.Logo1FontLen(), 4u);
    QCOMPARE(config.bytes().sliced(layout::Logo1FontName, 4), cp936::encode(Song));
}

void GlyphEncoderTest::subtitleGoesToLowerBands()
{
    THMK725ConfigData config;
    GlyphBuffers glyphs;
    EncodeLogoTitle(config, glyphs, QStringLiteral("AB"), QStringLiteral("黑体"), titleFont(Song),
                    false);
    const QByteArray image = config.bytes();
    QCOMPARE(image.sliced(layout::MainTitleStrip, layout::TitleStripSize),
             QByteArray(layout::TitleStripSize, '\0'));
    QCOMPARE(image.sliced(layout::SubTitleStrip + 88, 8), glyphOf(u'A', titleFont(Song)).first(8));
    QCOMPARE(config.Logo2Len(), 2u);
    QCOMPARE(image.sliced(layout::Logo2Desc, 2), QByteArray("AB"));
    QCOMPARE(config.Logo2FontLen(), 4u);
    QCOMPARE(image.sliced(layout::Logo2FontName, 4), cp936::encode(QStringLiteral("黑体")));
    QCOMPARE(config.Logo1Len(), 0u);
}

void GlyphEncoderTest::longTitleCutBeforeEncoding()
{
    THMK725ConfigData config;
    const QString title = QString(13, QChar(u'国'));
    const QByteArray strip = encodeMain(config, title);
    QCOMPARE(config.Logo1Len(), 24u);
    QCOMPARE(config.bytes().sliced(layout::Logo1Desc, 24),
             cp936::encode(QString(12, QChar(u'国'))));
    THMK725ConfigData twelve;
    QCOMPARE(strip, encodeMain(twelve, QString(12, QChar(u'国'))));
}

// The room beyond a shorter title is not cleared: its old bytes are not
// part of the value.
void GlyphEncoderTest::earlierTitleTailStays()
{
    THMK725ConfigData config;
    encodeMain(config, DefaultMainTitle);
    encodeMain(config, QStringLiteral("AB"));
    QCOMPARE(config.Logo1Len(), 2u);
    const QByteArray full = cp936::encode(DefaultMainTitle);
    QCOMPARE(config.bytes().sliced(layout::Logo1Desc, 18), QByteArray("AB") + full.sliced(2));
}

void GlyphEncoderTest::fontNameCutToRoom_data()
{
    QTest::addColumn<bool>("isMain");
    QTest::addColumn<QString>("fontName");
    QTest::addColumn<int>("stored");

    const QString forty = QString(40, QLatin1Char('f'));
    QTest::newRow("main: fills the room") << true << forty << 40;
    QTest::newRow("main: cut at 40") << true << forty + QLatin1Char('g') << 40;
    QTest::newRow("main: split character dropped")
        << true << QString(39, QLatin1Char('f')) + QStringLiteral("宋") << 39;
    QTest::newRow("sub: 56 bytes") << false << QString(28, QChar(u'宋')) << 56;
    QTest::newRow("sub: cut at 56") << false << QString(29, QChar(u'宋')) << 56;
}

void GlyphEncoderTest::fontNameCutToRoom()
{
    QFETCH(bool, isMain);
    QFETCH(QString, fontName);
    QFETCH(int, stored);
    THMK725ConfigData config;
    // The next field must not be touched.
    const int next = isMain ? layout::Logo2FontLen : layout::LogoUsePic;
    config.SetByIndex(next, 0x12345678);
    GlyphBuffers glyphs;
    EncodeLogoTitle(config, glyphs, QStringLiteral("X"), fontName, titleFont(Song), isMain);
    const quint32 length = isMain ? config.Logo1FontLen() : config.Logo2FontLen();
    QCOMPARE(length, quint32(stored));
    const int room = isMain ? layout::Logo1FontName : layout::Logo2FontName;
    QCOMPARE(config.bytes().sliced(room, stored), cp936::encode(fontName).first(stored));
    QCOMPARE(config.GetByIndex(next), 0x12345678u);
}

QTEST_MAIN(GlyphEncoderTest)
#include "tst_glyphencoder.moc"
