// The picture boot screen: which pixel becomes which bit, which pictures
// are refused, and that what a save writes is always the picture shown.

#include "BitmapFiles.h"
#include "bootscreen/BmpFile.h"
#include "bootscreen/BootScreenModel.h"
#include "bootscreen/LcdColors.h"
#include "image/ImageLayout.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace hmk;
using namespace hmk::test;

namespace {

QByteArray zeros()
{
    return QByteArray(layout::LogoPixelFontsSize, '\0');
}

// The screen bitmap a picture-style save writes.
QByteArray savedPicture(BootScreenModel& model)
{
    model.setStyleIndex(1);
    THMK725ConfigData config;
    model.exportScreen(config);
    return config.bytes().sliced(layout::LogoPixelFonts, layout::LogoPixelFontsSize);
}

// What a refused picture must leave as it was.
struct PictureState
{
    QString fileName;
    QImage holder;
    QImage preview;
    QByteArray bytes;

    explicit PictureState(const BootScreenModel& model)
        : fileName(model.picFileName()), holder(model.imgScreen()), preview(model.imgLcd()),
          bytes(model.pictureBytes())
    {}
    bool operator==(const PictureState&) const = default;
};

// The screen bitmap with ink exactly at `ink`, or everywhere but there.
QByteArray inkAt(const QList<QPoint>& ink, bool elsewhere = false)
{
    QByteArray bytes(layout::LogoPixelFontsSize, elsewhere ? '\xFF' : '\0');
    for (const QPoint& p : ink)
        bytes[(p.y() / 8) * layout::BandSize + p.x()] ^= char(1u << (p.y() % 8));
    return bytes;
}

} // namespace

Q_DECLARE_METATYPE(hmk::PictureOptions)

class BootPictureTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void bitPositions_data();
    void bitPositions();
    void onlyPureBlackIsInk_data();
    void onlyPureBlackIsInk();
    void wrongSizeChangesNothing_data();
    void wrongSizeChangesNothing();
    void unreadableChangesNothing_data();
    void unreadableChangesNothing();
    void bitmapsRefused_data();
    void bitmapsRefused();
    void bitmapPixelsByColourAlone_data();
    void bitmapPixelsByColourAlone();
    void defaultImportIsThePlainOne();
    void importOptions_data();
    void importOptions();
    void fitToScreen_data();
    void fitToScreen();
    void optionsShowInTheHolder();
    void penColourShowsButSavesTheSame();
    void secondPictureReplacesFirst();
    void pictureSaveWritesTheShownPicture();
    void pictureSaveKeepsTitleFields();

private:
    // A white picture with the given black pixels, saved in `format`.
    QString picture(const QString& name, QSize size, const QList<QPoint>& black = {},
                    QImage::Format pixelFormat = QImage::Format_Mono);
    std::unique_ptr<QTemporaryDir> dir;
};

void BootPictureTest::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

QString BootPictureTest::picture(const QString& name, QSize size, const QList<QPoint>& black,
                                 QImage::Format pixelFormat)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (const QPoint& p : black)
        image.setPixel(p, qRgb(0, 0, 0));
    const QString path = dir->filePath(name);
    if (!image.convertToFormat(pixelFormat).save(path))
        qFatal("cannot write the test picture %s", qPrintable(path));
    return path;
}

void BootPictureTest::bitPositions_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("value");

    const struct
    {
        const char* name;
        QPoint pixel;
        int offset;
        int value;
    } cases[] = {
        {"top-left", {0, 0}, 0x200, 0x01},       {"bottom-right", {191, 31}, 0x4FF, 0x80},
        {"band 1 starts", {0, 8}, 0x2C0, 0x01},  {"band 2 starts", {0, 16}, 0x380, 0x01},
        {"inside band 1", {5, 13}, 0x2C5, 0x20}, {"last column of band 0", {191, 7}, 0x2BF, 0x80},
    };
    // A monochrome bitmap as the page asks for, and a colour PNG, which is
    // read with the same ink rule.
    for (const char* file : {"mono.bmp", "colour.png"}) {
        for (const auto& c : cases) {
            QTest::addRow("%s %s", file, c.name)
                << QString::fromLatin1(file) << c.pixel << c.offset << c.value;
        }
    }
}

void BootPictureTest::bitPositions()
{
    QFETCH(QString, file);
    QFETCH(QPoint, pixel);
    QFETCH(int, offset);
    QFETCH(int, value);
    BootScreenModel model;
    const QImage::Format format =
        file.endsWith(QLatin1String(".bmp")) ? QImage::Format_Mono : QImage::Format_RGB32;
    QCOMPARE(model.LoadLogoPicture(picture(file, {192, 32}, {pixel}, format)).outcome,
             PictureResult::Loaded);
    QByteArray expected = zeros();
    expected[offset - layout::LogoPixelFonts] = char(value);
    QCOMPARE(savedPicture(model), expected);
}

void BootPictureTest::onlyPureBlackIsInk_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("dark grey, colour bitmap") << "grey.bmp" << QColor(0x20, 0x20, 0x20);
    QTest::newRow("near black, PNG") << "near.png" << QColor(0, 0, 1);
    QTest::newRow("half transparent black, PNG") << "alpha.png" << QColor(0, 0, 0, 128);
    QTest::newRow("transparent black, PNG") << "clear.png" << QColor(0, 0, 0, 0);
}

void BootPictureTest::onlyPureBlackIsInk()
{
    QFETCH(QString, file);
    QFETCH(QColor, colour);
    QImage image(192, 32, QImage::Format_ARGB32);
    image.fill(colour);
    image.setPixelColor(7, 0, Qt::black); // one real ink pixel
    const QString path = dir->filePath(file);
    QVERIFY(image.save(path));
    BootScreenModel model;
    QCOMPARE(model.LoadLogoPicture(path).outcome, PictureResult::Loaded);
    QByteArray expected = zeros();
    expected[7] = 0x01;
    QCOMPARE(savedPicture(model), expected);
}

void BootPictureTest::wrongSizeChangesNothing_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("193 x 32") << QSize(193, 32);
    QTest::newRow("192 x 31") << QSize(192, 31);
    QTest::newRow("32 x 192") << QSize(32, 192);
}

void BootPictureTest::wrongSizeChangesNothing()
{
    QFETCH(QSize, size);
    BootScreenModel model;
    model.setStyleIndex(1);
    const QString first = picture("first.bmp", {192, 32}, {{3, 3}});
    QCOMPARE(model.LoadLogoPicture(first).outcome, PictureResult::Loaded);
    const PictureState before(model);

    const PictureResult result = model.LoadLogoPicture(picture("wrong.bmp", size, {{0, 0}}));
    QCOMPARE(result.outcome, PictureResult::WrongSize);
    QCOMPARE(model.picFileName(), first);
    QVERIFY(PictureState(model) == before);
    QCOMPARE(savedPicture(model), before.bytes);
}

void BootPictureTest::unreadableChangesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // empty: the file does not exist
    QTest::newRow("missing file") << "missing.bmp" << QByteArray();
    QTest::newRow("damaged bitmap") << "damaged.bmp" << QByteArray("BM not really a bitmap");
    QTest::newRow("unknown format") << "notes.txt" << QByteArray("just text");
}

void BootPictureTest::unreadableChangesNothing()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    const QString path = dir->filePath(name);
    if (!content.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    BootScreenModel model;
    model.setStyleIndex(1);
    const QString first = picture("first.bmp", {192, 32}, {{3, 3}});
    QCOMPARE(model.LoadLogoPicture(first).outcome, PictureResult::Loaded);
    const PictureState before(model);

    const PictureResult result = model.LoadLogoPicture(path);
    QCOMPARE(result.outcome, PictureResult::Unreadable);
    QVERIFY2(result.error.contains(name), qPrintable(result.error));
    QVERIFY(result.error.size() > path.size() + 4); // and a reason
    QCOMPARE(model.picFileName(), first);
    QVERIFY(PictureState(model) == before);
}

void BootPictureTest::bitmapsRefused_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");

    const QList<QPoint> ink{{0, 0}, {191, 31}};
    QTest::newRow("monochrome, cut short")
        << qtBitmap(QImage::Format_Mono, ink).chopped(10) << BmpPixelsShortReason;
    QTest::newRow("24 bits, cut short")
        << qtBitmap(QImage::Format_RGB888, ink).chopped(1) << BmpPixelsShortReason;
    QTest::newRow("32 bits, cut short")
        << directBitmap(32, 40, ink).chopped(192 * 4) << BmpPixelsShortReason;
    QTest::newRow("run-length coded, without its end")
        << rleBitmap({3}, false).chopped(100) << BmpPixelsShortReason;
    QTest::newRow("header cut") << qtBitmap(QImage::Format_Mono, ink).first(30)
                                << BmpHeaderShortReason;
    QByteArray unknownHeader = qtBitmap(QImage::Format_Mono, ink);
    put32(unknownHeader, 14, 99);
    QTest::newRow("header of unknown size") << unknownHeader << BmpHeaderDamagedReason;
    QByteArray noWidth = directBitmap(32, 40, ink);
    put32(noWidth, 18, 0);
    QTest::newRow("no width") << noWidth << BmpHeaderDamagedReason;
    QByteArray pixelsInHeader = directBitmap(32, 40, ink);
    put32(pixelsInHeader, 10, 20);
    QTest::newRow("pixels inside the header") << pixelsInHeader << BmpHeaderDamagedReason;
}

// Qt's reader would fill the missing rows of these; they become ink with
// some rules. They are refused, naming the file and what is wrong, and
// nothing changes.
void BootPictureTest::bitmapsRefused()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    const QString path = dir->filePath(QStringLiteral("damaged.bmp"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();

    BootScreenModel model;
    model.setStyleIndex(1);
    QCOMPARE(model.LoadLogoPicture(picture("first.bmp", {192, 32}, {{3, 3}})).outcome,
             PictureResult::Loaded);
    const PictureState before(model);
    const PictureResult result =
        model.LoadLogoPicture(path, {PictureOptions::InkRule::Threshold, 200, true, true});
    QCOMPARE(result.outcome, PictureResult::Unreadable);
    QVERIFY2(result.error.contains(QStringLiteral("damaged.bmp")), qPrintable(result.error));
    QVERIFY2(result.error.endsWith(reason), qPrintable(result.error));
    QVERIFY(PictureState(model) == before);
}

void BootPictureTest::bitmapPixelsByColourAlone_data()
{
    QTest::addColumn<QByteArray>("content");

    const QList<QPoint> ink{{7, 0}, {100, 13}, {191, 31}};
    QTest::newRow("32 bits, all alpha 0") << directBitmap(32, 40, ink, 0);
    QTest::newRow("32 bits with an alpha mask, all alpha 0") << directBitmap(32, 124, ink, 0);
    QTest::newRow("32 bits with an alpha mask, opaque") << directBitmap(32, 124, ink, 0xFF);
    QTest::newRow("32 bits, rows top-down") << directBitmap(32, 40, ink, 0, -32);
    QTest::newRow("16 bits, 5-6-5 masks") << directBitmap(16, 40, ink);
    QTest::newRow("16 bits, 5-6-5 masks in a version 5 header") << directBitmap(16, 124, ink);
    QTest::newRow("monochrome") << qtBitmap(QImage::Format_Mono, ink);
}

void BootPictureTest::bitmapPixelsByColourAlone()
{
    QFETCH(QByteArray, content);
    const QString path = dir->filePath(QStringLiteral("pixels.bmp"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    BootScreenModel model;
    const PictureResult result = model.LoadLogoPicture(path);
    QVERIFY2(result.outcome == PictureResult::Loaded, qPrintable(result.error));
    QCOMPARE(savedPicture(model), inkAt({{7, 0}, {100, 13}, {191, 31}}));
}

// A picture of many colours: only its pure black pixels are ink, and the
// holder keeps its own colours, as a plain import always did.
void BootPictureTest::defaultImportIsThePlainOne()
{
    QImage image(192, 32, QImage::Format_RGB32);
    QList<QPoint> black;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 192; ++x) {
            const int v = (x * 7 + y * 13) % 64;
            image.setPixel(x, y, v == 0 ? qRgb(0, 0, 0) : qRgb(v, v / 2, 255 - v));
            if (v == 0)
                black << QPoint(x, y);
        }
    }
    const QString path = dir->filePath(QStringLiteral("colours.bmp"));
    QVERIFY(image.save(path));
    BootScreenModel model;
    model.setChangePenColor(false);
    QCOMPARE(model.LoadLogoPicture(path, PictureOptions{}).outcome, PictureResult::Loaded);
    QCOMPARE(savedPicture(model), inkAt(black));
    QCOMPARE(model.imgScreen(), image);
}

void BootPictureTest::importOptions_data()
{
    QTest::addColumn<PictureOptions>("options");
    QTest::addColumn<QList<QPoint>>("ink");
    QTest::addColumn<bool>("elsewhere"); // ink everywhere but at `ink`

    using Rule = PictureOptions::InkRule;
    // The test picture: black at (1, 0), then greys of brightness 64, 127,
    // 128 and 192 at (2, 0) to (5, 0); white elsewhere.
    const QList<QPoint> black{{1, 0}};
    const QList<QPoint> below128{{1, 0}, {2, 0}, {3, 0}};
    const QList<QPoint> allDark{{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}};
    QTest::newRow("pure black") << PictureOptions{} << black << false;
    QTest::newRow("threshold 128")
        << PictureOptions{Rule::Threshold, 128, false, false} << below128 << false;
    QTest::newRow("threshold 1") << PictureOptions{Rule::Threshold, 1, false, false} << black
                                 << false;
    QTest::newRow("threshold 254")
        << PictureOptions{Rule::Threshold, 254, false, false} << allDark << false;
    QTest::newRow("threshold 65: 64 is below") << PictureOptions{Rule::Threshold, 65, false, false}
                                               << QList<QPoint>{{1, 0}, {2, 0}} << false;
    QTest::newRow("invert") << PictureOptions{Rule::PureBlack, 128, true, false} << black << true;
    QTest::newRow("threshold 128, invert")
        << PictureOptions{Rule::Threshold, 128, true, false} << below128 << true;
    QTest::newRow("fit changes nothing at 192 x 32")
        << PictureOptions{Rule::PureBlack, 128, false, true} << black << false;
}

void BootPictureTest::importOptions()
{
    QFETCH(PictureOptions, options);
    QFETCH(QList<QPoint>, ink);
    QFETCH(bool, elsewhere);
    QImage image(192, 32, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(1, 0, qRgb(0, 0, 0));
    const int greys[] = {64, 127, 128, 192};
    for (int i = 0; i < 4; ++i)
        image.setPixel(2 + i, 0, qRgb(greys[i], greys[i], greys[i]));
    const QString path = dir->filePath(QStringLiteral("greys.png"));
    QVERIFY(image.save(path));
    BootScreenModel model;
    QCOMPARE(model.LoadLogoPicture(path, options).outcome, PictureResult::Loaded);
    QCOMPARE(savedPicture(model), inkAt(ink, elsewhere));
}

void BootPictureTest::fitToScreen_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QList<QPoint>>("black");
    QTest::addColumn<bool>("invert");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("narrower: centred, not scaled")
        << QSize(96, 32) << QList<QPoint>{{0, 0}, {95, 31}} << false << inkAt({{48, 0}, {143, 31}});
    QTest::newRow("twice the size: a 2 x 2 block is one pixel")
        << QSize(384, 64) << QList<QPoint>{{10, 10}, {11, 10}, {10, 11}, {11, 11}} << false
        << inkAt({{5, 5}});
    QTest::newRow("twice the size: a quarter of a pixel is no ink")
        << QSize(384, 64) << QList<QPoint>{{10, 10}} << false << inkAt({});
    QTest::newRow("taller: the height governs")
        << QSize(192, 64) << QList<QPoint>{{0, 0}, {1, 0}, {0, 1}, {1, 1}} << false
        << inkAt({{48, 0}});
    QList<QPoint> picture;
    for (int y = 0; y < 32; ++y)
        for (int x = 48; x < 144; ++x)
            picture << QPoint(x, y);
    QTest::newRow("inverted: the margins stay background")
        << QSize(96, 32) << QList<QPoint>{} << true << inkAt(picture);
}

void BootPictureTest::fitToScreen()
{
    QFETCH(QSize, size);
    QFETCH(QList<QPoint>, black);
    QFETCH(bool, invert);
    QFETCH(QByteArray, expected);
    const QString path = picture("other.bmp", size, black);
    BootScreenModel model;
    PictureOptions options;
    options.invert = invert;
    QCOMPARE(model.LoadLogoPicture(path, options).outcome, PictureResult::WrongSize);
    options.fit = true;
    QCOMPARE(model.LoadLogoPicture(path, options).outcome, PictureResult::Loaded);
    QCOMPARE(savedPicture(model), expected);
}

// Without the pen colours the holder shows the picture as stored, black on
// white, once an option has changed it.
void BootPictureTest::optionsShowInTheHolder()
{
    QImage image(192, 32, QImage::Format_RGB32);
    image.fill(QColor(0x20, 0x20, 0x20));
    image.setPixel(0, 0, qRgb(0xF0, 0xF0, 0xF0));
    const QString path = dir->filePath(QStringLiteral("grey.png"));
    QVERIFY(image.save(path));
    BootScreenModel model;
    model.setChangePenColor(false);
    QCOMPARE(model.LoadLogoPicture(path, {PictureOptions::InkRule::Threshold, 128, false, false})
                 .outcome,
             PictureResult::Loaded);
    QCOMPARE(model.imgScreen().pixelColor(1, 0), QColor(Qt::black));
    QCOMPARE(model.imgScreen().pixelColor(0, 0), QColor(Qt::white));
    QCOMPARE(savedPicture(model), inkAt({{0, 0}}, true));
}

// The pen-colour option repaints the holder in the LCD colours; what is
// saved is the same either way.
void BootPictureTest::penColourShowsButSavesTheSame()
{
    const QString path = picture("pic.bmp", {192, 32}, {{0, 0}, {100, 20}, {191, 31}});
    BootScreenModel on;
    BootScreenModel off;
    off.setChangePenColor(false);
    QCOMPARE(on.LoadLogoPicture(path).outcome, PictureResult::Loaded);
    QCOMPARE(off.LoadLogoPicture(path).outcome, PictureResult::Loaded);
    QCOMPARE(savedPicture(on), savedPicture(off));
    QVERIFY(savedPicture(on) != zeros());

    QCOMPARE(on.imgScreen().pixelColor(100, 20), LcdInk);
    QCOMPARE(on.imgScreen().pixelColor(100, 21), LcdBlue);
    QCOMPARE(off.imgScreen().pixelColor(100, 20), QColor(Qt::black));
    QCOMPARE(off.imgScreen().pixelColor(100, 21), QColor(Qt::white));
}

void BootPictureTest::secondPictureReplacesFirst()
{
    BootScreenModel model;
    QCOMPARE(model.LoadLogoPicture(picture("a.bmp", {192, 32}, {{0, 0}, {50, 30}})).outcome,
             PictureResult::Loaded);
    const QString second = picture("b.bmp", {192, 32}, {{191, 31}});
    QCOMPARE(model.LoadLogoPicture(second).outcome, PictureResult::Loaded);
    QByteArray expected = zeros();
    expected[layout::LogoPixelFontsSize - 1] = char(0x80);
    QCOMPARE(savedPicture(model), expected);
    QCOMPARE(model.picFileName(), second);
}

// A title save reuses the glyph buffers; the picture's bytes are kept
// apart, so switching back to the picture saves the picture, not the last
// title. Without any picture a picture save writes an empty screen.
void BootPictureTest::pictureSaveWritesTheShownPicture()
{
    BootScreenModel never;
    never.setStyleIndex(0);
    THMK725ConfigData scratch;
    never.exportScreen(scratch);
    QVERIFY(scratch.bytes().sliced(layout::LogoPixelFonts, layout::LogoPixelFontsSize) != zeros());
    QCOMPARE(savedPicture(never), zeros());

    BootScreenModel model;
    model.setStyleIndex(1);
    QCOMPARE(model.LoadLogoPicture(picture("pic.bmp", {192, 32}, {{9, 9}})).outcome,
             PictureResult::Loaded);
    const QByteArray shown = model.pictureBytes();
    model.setStyleIndex(0);
    model.exportScreen(scratch);
    QCOMPARE(savedPicture(model), shown);
}

void BootPictureTest::pictureSaveKeepsTitleFields()
{
    BootScreenModel model;
    THMK725ConfigData config;
    model.exportScreen(config); // a title save first
    const QByteArray before = config.bytes();
    model.setStyleIndex(1);
    QCOMPARE(model.LoadLogoPicture(picture("pic.bmp", {192, 32}, {{0, 0}})).outcome,
             PictureResult::Loaded);
    model.exportScreen(config);
    const QByteArray after = config.bytes();
    QCOMPARE(config.LogoUsePic(), 1u);
    const int tail = layout::LogoPixelFonts + layout::LogoPixelFontsSize;
    QCOMPARE(after.sliced(tail, layout::LogoUsePic - tail),
             before.sliced(tail, layout::LogoUsePic - tail));
    QCOMPARE(after[layout::LogoPixelFonts], '\x01');
}

QTEST_MAIN(BootPictureTest)
#include "tst_bootpicture.moc"
