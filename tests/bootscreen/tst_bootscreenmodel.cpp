// The boot-screen page's state without its widgets: the reaction chains of
// the style, the default-screen box and the titles, the preview, the save
// of the page and its restore from an opened image.

#include "bootscreen/BootScreenModel.h"
#include "bootscreen/FontList.h"
#include "bootscreen/LcdColors.h"
#include "bootscreen/LcdPreview.h"
#include "image/Codepage.h"
#include "image/ImageLayout.h"

#include <QFontMetrics>
#include <QSignalSpy>
#include <QTest>

using namespace hmk;

namespace {

const QString Song = QStringLiteral("宋体");

// An opened image: the page's switches and the stored titles.
struct Stored
{
    quint32 includeScreen = 1;
    quint32 includeParam = 1;
    quint32 logoUsePic = 0;
    QString mainTitle = QStringLiteral("Stored main");
    QString subTitle = QStringLiteral("Stored sub");
    QString mainFont = QStringLiteral("黑体");
    QString subFont = Song;
};

THMK725ConfigData image(const Stored& s)
{
    THMK725ConfigData config;
    config.setIncludeScreen(s.includeScreen);
    config.setIncludeParam(s.includeParam);
    config.setLogoUsePic(s.logoUsePic);
    auto text = [&](int lengthField, int room, const QString& value) {
        const QByteArray bytes = cp936::encode(value);
        config.SetByIndex(lengthField, quint32(bytes.size()));
        config.ExportLogoDesc(bytes, quint32(room), int(bytes.size()));
    };
    text(layout::Logo1Len, layout::Logo1Desc, s.mainTitle);
    text(layout::Logo2Len, layout::Logo2Desc, s.subTitle);
    text(layout::Logo1FontLen, layout::Logo1FontName, s.mainFont);
    text(layout::Logo2FontLen, layout::Logo2FontName, s.subFont);
    return config;
}

QByteArray screenBitmap(const THMK725ConfigData& config)
{
    return config.bytes().sliced(layout::LogoPixelFonts, layout::LogoPixelFontsSize);
}

} // namespace

class BootScreenModelTest : public QObject
{
    Q_OBJECT
private slots:
    void initialState();
    void enableStates_data();
    void enableStates();
    void checkingDefaultReplacesTitles();
    void pictureStyleUnchecksDefault();
    void titleAndFontReactions();
    void titleExitCuts();
    void exportedStyle_data();
    void exportedStyle();

    void panelGeometry();
    void previewPanel();
    void emptyMainTitlePreviewsDefault();
    void wideTitleClippedBothSides();
    void pictureStyleRepaintsUpperFaceOnly();

    void restoreSwitchesAndStyle_data();
    void restoreSwitchesAndStyle();
    void restoreTitlesAndFonts();
    void restoreFontNotInstalled();
    void restoreCutsLengthsAtRoom();
    void restoreEmptyMainTitle();
    void restoredPictureSavedUnchanged_data();
    void restoredPictureSavedUnchanged();
};

void BootScreenModelTest::initialState()
{
    BootScreenModel model;
    QCOMPARE(model.styleIndex(), 0);
    QVERIFY(!model.isPic());
    QVERIFY(model.useDefaultScreen());
    QVERIFY(model.notEnableParam());
    QCOMPARE(model.mainTitle(), DefaultMainTitle);
    QCOMPARE(model.subTitle(), QString());
    QCOMPARE(model.mainFontName(), Song);
    QCOMPARE(model.subFontName(), Song);
    QCOMPARE(model.mainTitleFont(), Song);
    QVERIFY(model.changePenColor());
    QVERIFY(model.picFileName().isEmpty());
    QVERIFY(!model.titlesEnabled());
    QVERIFY(model.useDefaultEnabled());
    QVERIFY(!model.loadPicEnabled());
    QVERIFY(!model.hasPicture());
    QCOMPARE(model.pictureBytes(), QByteArray(layout::LogoPixelFontsSize, '\0'));
    QCOMPARE(model.imgLcd().size(), QSize(585, 192));
}

void BootScreenModelTest::enableStates_data()
{
    QTest::addColumn<bool>("useDefault");   // set first
    QTest::addColumn<QList<int>>("styles"); // then these styles in turn
    QTest::addColumn<bool>("titlesEnabled");
    QTest::addColumn<bool>("defaultChecked");
    QTest::addColumn<bool>("defaultEnabled");
    QTest::addColumn<bool>("loadPicEnabled");
    QTest::addColumn<bool>("isPic");

    QTest::newRow("titles, default screen")
        << true << QList<int>{0} << false << true << true << false << false;
    QTest::newRow("titles, own screen")
        << false << QList<int>{0} << true << false << true << false << false;
    QTest::newRow("picture") << true << QList<int>{1} << false << false << false << true << true;
    QTest::newRow("picture, back to titles")
        << true << QList<int>{1, 0} << true << false << true << false << false;
    QTest::newRow("no style is titles")
        << false << QList<int>{1, -1} << true << false << true << false << false;
}

void BootScreenModelTest::enableStates()
{
    QFETCH(bool, useDefault);
    QFETCH(QList<int>, styles);
    BootScreenModel model;
    model.setUseDefaultScreen(useDefault);
    for (int style : styles)
        model.setStyleIndex(style);
    QTEST(model.titlesEnabled(), "titlesEnabled");
    QTEST(model.useDefaultScreen(), "defaultChecked");
    QTEST(model.useDefaultEnabled(), "defaultEnabled");
    QTEST(model.loadPicEnabled(), "loadPicEnabled");
    QTEST(model.isPic(), "isPic");
}

void BootScreenModelTest::checkingDefaultReplacesTitles()
{
    BootScreenModel model;
    model.setUseDefaultScreen(false);
    model.setMainTitle(QStringLiteral("Mine"));
    model.setSubTitle(QStringLiteral("Sub"));
    model.setUseDefaultScreen(true);
    QCOMPARE(model.mainTitle(), DefaultMainTitle);
    QCOMPARE(model.subTitle(), DefaultSubTitle);
    QVERIFY(!model.titlesEnabled());
    // Unchecking unlocks and keeps the defaults for editing.
    model.setUseDefaultScreen(false);
    QCOMPARE(model.mainTitle(), DefaultMainTitle);
    QVERIFY(model.titlesEnabled());
}

void BootScreenModelTest::pictureStyleUnchecksDefault()
{
    BootScreenModel model;
    QSignalSpy changed(&model, &BootScreenModel::changed);
    QSignalSpy redrawn(&model, &BootScreenModel::previewChanged);
    model.setStyleIndex(1);
    QVERIFY(!model.useDefaultScreen());
    QVERIFY(!model.useDefaultEnabled());
    QVERIFY(!model.titlesEnabled());
    QCOMPARE(model.mainTitle(), DefaultMainTitle);
    QVERIFY(!changed.isEmpty());
    // Both switches redraw, so the preview always shows what a save writes.
    QCOMPARE(redrawn.size(), 1);
    model.setStyleIndex(0);
    QCOMPARE(redrawn.size(), 2);
}

void BootScreenModelTest::titleAndFontReactions()
{
    BootScreenModel model;
    QSignalSpy redrawn(&model, &BootScreenModel::previewChanged);
    model.setSubTitle(QStringLiteral("x"));
    QCOMPARE(redrawn.size(), 1);
    model.setSubTitle(QStringLiteral("x")); // no change, no reaction
    QCOMPARE(redrawn.size(), 1);

    // A font list set in code runs no reaction: the field keeps its font.
    model.setMainFontList(QStringLiteral("黑体"));
    QCOMPARE(model.mainFontName(), QStringLiteral("黑体"));
    QCOMPARE(model.mainTitleFont(), Song);
    QCOMPARE(redrawn.size(), 1);
    model.cbFontMainChange();
    QCOMPARE(model.mainTitleFont(), QStringLiteral("黑体"));
    QCOMPARE(redrawn.size(), 2);

    // A face that is not installed leaves the list without a choice, and an
    // empty name leaves the field's font as it was.
    model.setSubFontList(QStringLiteral("No Such Face"));
    QCOMPARE(model.subFontName(), QString());
    model.cbFontSubChange();
    QCOMPARE(model.subTitleFont(), Song);
}

void BootScreenModelTest::titleExitCuts()
{
    BootScreenModel model;
    model.setUseDefaultScreen(false);
    model.setMainTitle(QString(23, QLatin1Char('a')) + QStringLiteral("调"));
    model.setSubTitle(QString(30, QLatin1Char('b')));
    model.TitleExit(true);
    QCOMPARE(model.mainTitle(), QString(23, QLatin1Char('a')));
    QCOMPARE(model.subTitle(), QString(30, QLatin1Char('b')));
    model.TitleExit(false);
    QCOMPARE(model.subTitle(), QString(24, QLatin1Char('b')));
}

void BootScreenModelTest::exportedStyle_data()
{
    QTest::addColumn<qint64>("style");
    QTest::addColumn<quint32>("logoUsePic");
    QTest::addColumn<bool>("titles");
    QTest::newRow("titles") << qint64(0) << 0u << true;
    QTest::newRow("picture") << qint64(1) << 1u << false;
    QTest::newRow("no style: saved as titles") << qint64(-1) << 0xFFFFFFFFu << true;
}

void BootScreenModelTest::exportedStyle()
{
    QFETCH(qint64, style);
    QFETCH(quint32, logoUsePic);
    QFETCH(bool, titles);
    BootScreenModel model;
    model.setUseDefaultScreen(false);
    model.setSubTitle(QStringLiteral("AB"));
    model.setStyleIndex(style);
    THMK725ConfigData config;
    model.exportScreen(config);
    QCOMPARE(config.LogoUsePic(), logoUsePic);
    QCOMPARE(config.Logo1Len(), titles ? 18u : 0u);
    QCOMPARE(config.Logo2Len(), titles ? 2u : 0u);
    QCOMPARE(config.Logo1FontLen(), titles ? 4u : 0u);
    QCOMPARE(screenBitmap(config) != QByteArray(layout::LogoPixelFontsSize, '\0'), titles);
}

void BootScreenModelTest::panelGeometry()
{
    const LcdPanelGeometry g = lcdPanelGeometry({585, 192});
    QCOMPARE(g.s, 2.025);
    QCOMPARE(g.cw, 486);
    QCOMPARE(g.ch, 162);
    QCOMPARE(g.left, 45);
    QCOMPARE(g.top, 15);
    QCOMPARE(g.face, QRect(45, 15, 486, 162));
    QCOMPARE(g.pictureFace, QRect(QPoint(45, 15), QPoint(530, 99)));
    QCOMPARE(g.rightShadow, QRect(QPoint(531, 21), QPoint(536, 182)));
    QCOMPARE(g.bottomShadow, QRect(QPoint(51, 177), QPoint(536, 183)));
}

void BootScreenModelTest::previewPanel()
{
    BootScreenModel model;
    model.DrawLcdPreview();
    const QImage& lcd = model.imgLcd();
    const QColor grey = LcdShadow;
    QCOMPARE(lcd.pixelColor(531, 21), grey);
    QCOMPARE(lcd.pixelColor(536, 182), grey);
    QCOMPARE(lcd.pixelColor(51, 183), grey);
    QCOMPARE(lcd.pixelColor(537, 100), QColor(Qt::white));
    QCOMPARE(lcd.pixelColor(530, 20), LcdBlue);
    QCOMPARE(lcd.pixelColor(45, 176), LcdBlue);
    QCOMPARE(lcd.pixelColor(44, 15), QColor(Qt::white));
    QCOMPARE(lcd.pixelColor(45, 14), QColor(Qt::white));
    // Only blue, white and grey: the LCD is drawn without smoothing.
    for (int y = 0; y < lcd.height(); ++y) {
        for (int x = 0; x < lcd.width(); ++x) {
            const QColor c = lcd.pixelColor(x, y);
            QVERIFY2(c == LcdBlue || c == LcdInk || c == grey,
                     qPrintable(QStringLiteral("(%1, %2)").arg(x).arg(y)));
        }
    }
}

void BootScreenModelTest::emptyMainTitlePreviewsDefault()
{
    BootScreenModel reference;
    reference.DrawLcdPreview();

    BootScreenModel model;
    model.setUseDefaultScreen(false);
    model.setMainTitle(QString());
    QCOMPARE(model.imgLcd(), reference.imgLcd());
    model.setMainTitle(QStringLiteral("X"));
    QVERIFY(model.imgLcd() != reference.imgLcd());
}

void BootScreenModelTest::wideTitleClippedBothSides()
{
    const QFont hei = titleFont(QStringLiteral("黑体"));
    const QString wide(24, QLatin1Char('M'));
    QVERIFY(QFontMetrics(hei).horizontalAdvance(wide) > LcdScreenWidth + 16);
    const QImage screen = composeTitleScreen(wide, hei, QString(), hei);
    auto inkInColumn = [&](int x) {
        for (int y = 1; y < 17; ++y) {
            if (screen.pixelColor(x, y) == LcdInk)
                return true;
        }
        return false;
    };
    QVERIFY(inkInColumn(0));
    QVERIFY(inkInColumn(LcdScreenWidth - 1));
}

// Picture style repaints the rectangle (45, 15)-(531, 100) and keeps the
// rest of the face: the start-up lines of the last full drawing.
void BootScreenModelTest::pictureStyleRepaintsUpperFaceOnly()
{
    BootScreenModel model;
    model.DrawLcdPreview();
    const QImage titles = model.imgLcd();
    // Choosing picture style before any picture shows what a save then
    // writes, an empty screen, at once.
    model.setStyleIndex(1);
    const QImage& lcd = model.imgLcd();
    for (int y = 15; y < 100; ++y) {
        for (int x = 45; x < 531; ++x)
            QVERIFY(lcd.pixelColor(x, y) == LcdBlue);
    }
    QCOMPARE(lcd.copy(0, 100, 585, 92), titles.copy(0, 100, 585, 92));
    QVERIFY(lcd.copy(0, 0, 585, 100) != titles.copy(0, 0, 585, 100));
}

void BootScreenModelTest::restoreSwitchesAndStyle_data()
{
    QTest::addColumn<quint32>("includeScreen");
    QTest::addColumn<quint32>("includeParam");
    QTest::addColumn<quint32>("logoUsePic");
    QTest::addColumn<bool>("useDefault");
    QTest::addColumn<bool>("notEnableParam");
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("mainTitle");
    QTest::addColumn<bool>("titlesEnabled");

    const QString stored = Stored().mainTitle;
    const QString before = QStringLiteral("Before");
    QTest::newRow("default screen: stored titles ignored")
        << 0u << 1u << 0u << true << false << 0 << DefaultMainTitle << false;
    QTest::newRow("own titles") << 1u << 1u << 0u << false << false << 0 << stored << true;
    QTest::newRow("titles only, no parameters")
        << 1u << 0u << 0u << false << true << 0 << stored << true;
    QTest::newRow("picture keeps the fields' texts")
        << 1u << 1u << 1u << false << false << 1 << before << false;
    QTest::newRow("picture with default screen")
        << 0u << 1u << 1u << false << false << 1 << DefaultMainTitle << false;
    QTest::newRow("style 7 is the picture")
        << 1u << 1u << 7u << false << false << 1 << before << false;
    QTest::newRow("style 2^31-1 is the picture")
        << 1u << 1u << 0x7FFFFFFFu << false << false << 1 << before << false;
    QTest::newRow("style 2^31 is no style")
        << 1u << 1u << 0x80000000u << false << false << -1 << stored << true;
    QTest::newRow("style FFFFFFFF is no style")
        << 1u << 1u << 0xFFFFFFFFu << false << false << -1 << stored << true;
}

void BootScreenModelTest::restoreSwitchesAndStyle()
{
    QFETCH(quint32, includeScreen);
    QFETCH(quint32, includeParam);
    QFETCH(quint32, logoUsePic);
    QFETCH(int, style);
    QFETCH(bool, titlesEnabled);
    Stored s;
    s.includeScreen = includeScreen;
    s.includeParam = includeParam;
    s.logoUsePic = logoUsePic;
    const THMK725ConfigData config = image(s);

    BootScreenModel model;
    model.setUseDefaultScreen(false);
    model.setMainTitle(QStringLiteral("Before"));
    model.RestoreLogo(config.data().data());

    QTEST(model.useDefaultScreen(), "useDefault");
    QTEST(model.notEnableParam(), "notEnableParam");
    QCOMPARE(model.styleIndex(), style);
    QCOMPARE(model.isPic(), style == 1);
    QCOMPARE(model.loadPicEnabled(), style == 1);
    QCOMPARE(model.useDefaultEnabled(), style != 1);
    QTEST(model.mainTitle(), "mainTitle");
    QCOMPARE(model.titlesEnabled(), titlesEnabled);
}

void BootScreenModelTest::restoreTitlesAndFonts()
{
    const THMK725ConfigData config = image(Stored());
    BootScreenModel model;
    model.RestoreLogo(config.data().data());
    QCOMPARE(model.mainTitle(), QStringLiteral("Stored main"));
    QCOMPARE(model.subTitle(), QStringLiteral("Stored sub"));
    QCOMPARE(model.mainFontName(), QStringLiteral("黑体"));
    QCOMPARE(model.mainTitleFont(), QStringLiteral("黑体"));
    QCOMPARE(model.subFontName(), Song);

    // Saved again: texts and font names come back unchanged.
    THMK725ConfigData again;
    model.exportScreen(again);
    for (int field :
         {layout::Logo1Len, layout::Logo2Len, layout::Logo1FontLen, layout::Logo2FontLen})
        QCOMPARE(again.GetByIndex(field), config.GetByIndex(field));
    QCOMPARE(again.bytes().sliced(layout::Logo1Desc, 0x7F0 - layout::Logo1Desc),
             config.bytes().sliced(layout::Logo1Desc, 0x7F0 - layout::Logo1Desc));
}

// A stored font that this machine lacks leaves the list without a choice
// and the field with its font; saving again stores an empty font name.
void BootScreenModelTest::restoreFontNotInstalled()
{
    Stored s;
    s.mainFont = QStringLiteral("No Such Face");
    const THMK725ConfigData config = image(s);
    BootScreenModel model;
    model.RestoreLogo(config.data().data());
    QCOMPARE(model.mainFontName(), QString());
    QCOMPARE(model.mainTitleFont(), Song);
    THMK725ConfigData again;
    model.exportScreen(again);
    QCOMPARE(again.Logo1FontLen(), 0u);
    QCOMPARE(again.Logo1Len(), config.Logo1Len());
}

// Damaged lengths are cut at their rooms: nothing is read beyond them.
void BootScreenModelTest::restoreCutsLengthsAtRoom()
{
    Stored s;
    s.mainTitle = QString(24, QLatin1Char('m'));
    s.subTitle = QString(24, QLatin1Char('s'));
    THMK725ConfigData config = image(s);
    config.setLogo1Len(25);
    config.setLogo2Len(0xFFFFFFFF);
    config.setLogo1FontLen(0x80000000);
    config.setLogo2FontLen(0xFFFFFFFF);
    BootScreenModel model;
    model.RestoreLogo(config.data().data());
    QCOMPARE(model.mainTitle(), QString(24, QLatin1Char('m')));
    QCOMPARE(model.subTitle(), QString(24, QLatin1Char('s')));
}

void BootScreenModelTest::restoreEmptyMainTitle()
{
    Stored s;
    s.mainTitle.clear();
    const THMK725ConfigData config = image(s);
    BootScreenModel model;
    model.RestoreLogo(config.data().data());
    QCOMPARE(model.mainTitle(), QString());

    BootScreenModel reference;
    reference.setUseDefaultScreen(false);
    reference.setMainTitle(DefaultMainTitle);
    reference.setSubTitle(s.subTitle);
    reference.setMainFontList(s.mainFont);
    reference.cbFontMainChange();
    QCOMPARE(model.imgLcd(), reference.imgLcd());
}

void BootScreenModelTest::restoredPictureSavedUnchanged_data()
{
    QTest::addColumn<bool>("penColour");
    QTest::newRow("pen colour on") << true;
    QTest::newRow("pen colour off") << false;
}

// A picture image is its bytes: opened and saved again, they come back byte
// for byte, and the preview shows them in the LCD colours.
void BootScreenModelTest::restoredPictureSavedUnchanged()
{
    QFETCH(bool, penColour);
    Stored s;
    s.logoUsePic = 1;
    THMK725ConfigData config = image(s);
    QByteArray bands(layout::LogoPixelFontsSize, '\0');
    for (int i = 0; i < bands.size(); ++i)
        bands[i] = char((i * 37 + 11) & 0xFF);
    config.ExportLogoFonts(bands, layout::LogoPixelFonts, int(bands.size()));

    BootScreenModel model;
    model.setChangePenColor(penColour);
    model.setPicFileName(QStringLiteral("earlier.bmp"));
    model.RestoreLogo(config.data().data());
    QVERIFY(model.hasPicture());
    QCOMPARE(model.picFileName(), QStringLiteral("earlier.bmp"));
    // (0, 0) is bit 0 of 0x0B: ink; (1, 0) bit 0 of 0x30: background.
    QCOMPARE(model.imgScreen().pixelColor(0, 0), LcdInk);
    QCOMPARE(model.imgScreen().pixelColor(1, 0), LcdBlue);

    THMK725ConfigData again;
    model.exportScreen(again);
    QCOMPARE(again.LogoUsePic(), 1u);
    QCOMPARE(screenBitmap(again), bands);

    // The lower face shows the blank start-up lines, not a title.
    BootScreenModel blank;
    blank.DrawBlankLcd();
    QCOMPARE(model.imgLcd().copy(0, 100, 585, 92), blank.imgLcd().copy(0, 100, 585, 92));
}

QTEST_MAIN(BootScreenModelTest)
#include "tst_bootscreenmodel.moc"
