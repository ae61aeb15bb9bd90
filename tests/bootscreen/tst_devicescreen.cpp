// The boot screen as the device shows it: the bytes the page computes for
// its device view are the bytes a save writes, the view draws exactly those
// pixels, and the fit warning names the characters the cells cut.

#include "bootscreen/BootScreenModel.h"
#include "bootscreen/DeviceView.h"
#include "bootscreen/FontList.h"
#include "bootscreen/GlyphFit.h"
#include "bootscreen/LcdColors.h"
#include "image/ImageLayout.h"

#include <QTemporaryDir>
#include <QTest>

using namespace hmk;

namespace {

const QString Song = QStringLiteral("宋体");
// Drawn with WenQuanYi Zen Hei Sharp, whose Latin capitals W and M are
// wider than 8 columns and whose Chinese characters rise two rows above
// the cell.
const QString Hei = QStringLiteral("黑体");

struct Page
{
    int style = 0;
    bool useDefault = false;
    QString main;
    QString sub;
    QString mainFace = Song;
    QString subFace = Song;
};

// The page as a user leaves it: style, switch, fonts chosen in the lists,
// titles typed.
void setUp(BootScreenModel& model, const Page& page)
{
    model.setUseDefaultScreen(page.useDefault);
    model.setMainFontList(page.mainFace);
    model.cbFontMainChange();
    model.setSubFontList(page.subFace);
    model.cbFontSubChange();
    if (!page.useDefault) {
        model.setMainTitle(page.main);
        model.setSubTitle(page.sub);
    }
    model.setStyleIndex(page.style);
}

QByteArray savedScreen(BootScreenModel& model)
{
    THMK725ConfigData config;
    model.exportScreen(config);
    return config.bytes().sliced(layout::LogoPixelFonts, layout::LogoPixelFontsSize);
}

} // namespace

Q_DECLARE_METATYPE(Page)
Q_DECLARE_METATYPE(hmk::TitleCuts)

class DeviceScreenTest : public QObject
{
    Q_OBJECT
private slots:
    void viewShowsWhatASaveWrites_data();
    void viewShowsWhatASaveWrites();
    void pictureInTheView();
    void cutCharacters_data();
    void cutCharacters();
    void warningGoesWithTheCutCharacters();
    void warningText_data();
    void warningText();
    void gridAndScale();
};

void DeviceScreenTest::viewShowsWhatASaveWrites_data()
{
    QTest::addColumn<Page>("page");
    QTest::addColumn<bool>("cut");   // some ink of the titles is lost in the cells
    QTest::addColumn<bool>("inked"); // the screen has ink at all

    QTest::newRow("default screen") << Page{0, true, {}, {}} << false << true;
    QTest::newRow("own titles, Song")
        << Page{0, false, QStringLiteral("ABC 切割"), QStringLiteral("Line 3")} << false << true;
    QTest::newRow("Hei: W and M wider than their cells")
        << Page{0, false, QStringLiteral("WMW"), QStringLiteral("MAX"), Hei, Hei} << true << true;
    QTest::newRow("empty titles: no default in the save")
        << Page{0, false, QString(), QString()} << false << false;
    QTest::newRow("title beyond 24 bytes")
        << Page{0, false, QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), QStringLiteral("中文")}
        << false << true;
    QTest::newRow("no style selected saves the titles")
        << Page{-1, false, QStringLiteral("X"), QStringLiteral("Y")} << false << true;
    QTest::newRow("picture style without a picture")
        << Page{1, false, QStringLiteral("X"), QStringLiteral("Y")} << false << false;
}

void DeviceScreenTest::viewShowsWhatASaveWrites()
{
    QFETCH(Page, page);
    QFETCH(bool, cut);
    QFETCH(bool, inked);
    BootScreenModel model;
    setUp(model, page);

    const QByteArray before = savedScreen(model);
    const DeviceScreen device = model.deviceScreen();
    QCOMPARE(device.bytes, before);
    QCOMPARE(savedScreen(model), before); // computing the view changed nothing a save reads
    QCOMPARE(device.mainCuts.isEmpty() && device.subCuts.isEmpty(), !cut);

    const int scale = 3;
    const QImage view = deviceView(device.bytes, {scale, LcdInk, LcdBlue, true});
    QCOMPARE(view.size(), QSize(192 * scale, 32 * scale));
    int ink = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 192; ++x) {
            const bool set = quint8(before[(y / 8) * 192 + x]) & (1u << (y % 8));
            ink += set;
            // The inside of each device pixel, clear of the grid line.
            const QColor shown = view.pixelColor(x * scale + 1, y * scale + 1);
            if (shown != (set ? LcdInk : LcdBlue))
                QFAIL(qPrintable(QStringLiteral("device pixel (%1, %2)").arg(x).arg(y)));
        }
    }
    QCOMPARE(ink > 0, inked);
}

void DeviceScreenTest::pictureInTheView()
{
    QTemporaryDir dir;
    QImage picture(192, 32, QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.setPixel(0, 0, qRgb(0, 0, 0));
    picture.setPixel(100, 20, qRgb(0, 0, 0));
    picture.setPixel(191, 31, qRgb(0, 0, 0));
    const QString path = dir.filePath(QStringLiteral("pic.bmp"));
    QVERIFY(picture.save(path));

    BootScreenModel model;
    model.setStyleIndex(1);
    QCOMPARE(model.LoadLogoPicture(path).outcome, PictureResult::Loaded);
    const DeviceScreen device = model.deviceScreen();
    QCOMPARE(device.bytes, savedScreen(model));
    QVERIFY(device.warning().isEmpty());
    const QImage view = deviceView(device.bytes, {2, LcdInk, LcdBlue, false});
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 192; ++x)
            QCOMPARE(view.pixelColor(2 * x + 1, 2 * y + 1) == LcdInk,
                     picture.pixel(x, y) == qRgb(0, 0, 0));
}

void DeviceScreenTest::cutCharacters_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("narrow");
    QTest::addColumn<QString>("wide");
    QTest::addColumn<QString>("rows");

    QTest::newRow("Song fits its cells")
        << QStringLiteral("WM 中文 j[") << Song << QString() << QString() << QString();
    QTest::newRow("Hei W and M, each once, in title order")
        << QStringLiteral("HWMHWM") << Hei << QStringLiteral("WM") << QString() << QString();
    QTest::newRow("Hei j reaches left of its cell")
        << QStringLiteral("ij") << Hei << QStringLiteral("j") << QString() << QString();
    QTest::newRow("Hei Chinese rises above the cell")
        << QStringLiteral("独立") << Hei << QString() << QString() << QStringLiteral("独立");
    QTest::newRow("only the 24 bytes a save keeps") << QStringLiteral("HHHHHHHHHHHHHHHHHHHHHHHHW")
                                                    << Hei << QString() << QString() << QString();
}

void DeviceScreenTest::cutCharacters()
{
    QFETCH(QString, title);
    QFETCH(QString, face);
    QFETCH(QString, narrow);
    QFETCH(QString, wide);
    QFETCH(QString, rows);
    const TitleCuts cuts = titleCuts(title, titleFont(face));
    QCOMPARE(cuts.narrow, narrow);
    QCOMPARE(cuts.wide, wide);
    QCOMPARE(cuts.rows, rows);
}

void DeviceScreenTest::warningGoesWithTheCutCharacters()
{
    BootScreenModel model;
    setUp(model, Page{0, false, QStringLiteral("HWM"), QStringLiteral("Line"), Hei, Song});
    QCOMPARE(model.deviceScreen().warning(),
             QStringLiteral("主标题：字符 W、M 超出 8 列，设备上会被截断"));
    model.setSubFontList(Hei); // a list set in code: the save draws with it
    model.setSubTitle(QStringLiteral("LMN"));
    QCOMPARE(
        model.deviceScreen().warning(),
        QStringLiteral("主标题：字符 W、M 超出 8 列；副标题：字符 M 超出 8 列，设备上会被截断"));
    model.setMainTitle(QStringLiteral("HH"));
    model.setSubTitle(QStringLiteral("LN"));
    QCOMPARE(model.deviceScreen().warning(), QString());
    model.setMainTitle(QStringLiteral("HHW"));
    model.setStyleIndex(1); // a picture has no title cells
    QCOMPARE(model.deviceScreen().warning(), QString());
}

void DeviceScreenTest::warningText_data()
{
    QTest::addColumn<TitleCuts>("main");
    QTest::addColumn<TitleCuts>("sub");
    QTest::addColumn<QString>("text");

    QTest::newRow("nothing cut") << TitleCuts{} << TitleCuts{} << QString();
    QTest::newRow("narrow, main title")
        << TitleCuts{QStringLiteral("WM"), {}, {}} << TitleCuts{}
        << QStringLiteral("主标题：字符 W、M 超出 8 列，设备上会被截断");
    QTest::newRow("wide, subtitle") << TitleCuts{} << TitleCuts{{}, QStringLiteral("中"), {}}
                                    << QStringLiteral("副标题：字符 中 超出 16 列，设备上会被截断");
    QTest::newRow("every kind, both titles")
        << TitleCuts{QStringLiteral("W"), QStringLiteral("中文"), {}}
        << TitleCuts{{}, {}, QStringLiteral("独")}
        << QStringLiteral("主标题：字符 W 超出 8 列，字符 中、文 超出 16 列；"
                          "副标题：字符 独 超出 16 行，设备上会被截断");
}

void DeviceScreenTest::warningText()
{
    QFETCH(TitleCuts, main);
    QFETCH(TitleCuts, sub);
    QFETCH(QString, text);
    QCOMPARE(fitWarning(main, sub), text);
}

void DeviceScreenTest::gridAndScale()
{
    QByteArray bands(layout::LogoPixelFontsSize, '\0');
    bands[0] = 0x01; // pixel (0, 0)
    const QColor ink(Qt::black);
    const QColor background(Qt::white);

    const QImage plain = deviceView(bands, {4, ink, background, false});
    QCOMPARE(plain.colorCount(), 2);
    QCOMPARE(plain.pixelColor(0, 0), ink);
    QCOMPARE(plain.pixelColor(3, 3), ink);
    QCOMPARE(plain.pixelColor(4, 0), background);

    // Grid lines along the top and left edge of every device pixel, each
    // colour a fifth of the way toward the other.
    const QImage grid = deviceView(bands, {4, ink, background, true});
    QCOMPARE(grid.pixelColor(0, 0), QColor(51, 51, 51));
    QCOMPARE(grid.pixelColor(3, 0), QColor(51, 51, 51));
    QCOMPARE(grid.pixelColor(1, 1), ink);
    QCOMPARE(grid.pixelColor(4, 1), QColor(204, 204, 204));
    QCOMPARE(grid.pixelColor(5, 5), background);
    QCOMPARE(grid.pixelColor(767, 127), background);

    QCOMPARE(deviceViewScale({585, 192}), 3);
    QCOMPARE(deviceViewScale({100, 20}), 1);
}

QTEST_MAIN(DeviceScreenTest)
#include "tst_devicescreen.moc"
