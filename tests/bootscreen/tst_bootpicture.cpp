// The picture boot screen: which pixel becomes which bit, which pictures
// are refused, and that what a save writes is always the picture shown.

#include "bootscreen/BootScreenModel.h"
#include "bootscreen/LcdColors.h"
#include "image/ImageLayout.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace hmk;

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

} // namespace

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
