// The boot-screen page's device view, fit warning and picture import
// dialog, driven through the widgets: the view shows the bytes a save
// writes, the warning names exactly the cut characters, the dialog's
// choices import as they say and its cancel changes nothing, and hkftool's
// options give the same bytes.

#include "BitmapFiles.h"
#include "ScriptedDialogs.h"
#include "WindowDriving.h"

#include "ChoiceGroup.h"
#include "PictureImportDialog.h"
#include "bootscreen/BmpFile.h"
#include "bootscreen/BootScreenModel.h"
#include "bootscreen/LcdColors.h"
#include "image/ImageLayout.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace hmk;

namespace {

const QString Settings = QStringLiteral(HMK_BIN_DIR "/HMK725Config.ini");
const QString Tool = QStringLiteral(HMK_BIN_DIR "/hkftool");

// The screen pixels of the device view's pixmap, read at the middle of each
// device pixel, as the 768 bytes they stand for.
QByteArray shownScreen(QLabel* view)
{
    const QImage image = view->pixmap().toImage();
    const int scale = image.width() / layout::ScreenWidth;
    QByteArray bytes(layout::LogoPixelFontsSize, '\0');
    for (int y = 0; y < layout::ScreenHeight; ++y) {
        for (int x = 0; x < layout::ScreenWidth; ++x) {
            if (image.pixelColor(x * scale + scale / 2, y * scale + scale / 2) == LcdInk)
                bytes[(y / 8) * layout::BandSize + x] |= char(1u << (y % 8));
        }
    }
    return bytes;
}

QImage greyLogo(QSize size)
{
    // A dark-grey logo, as scanned: no pure black at all.
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = size.height() / 4; y < size.height() * 3 / 4; ++y)
        for (int x = size.width() / 8; x < size.width() * 7 / 8; ++x)
            if ((x / 6 + y / 6) % 2 == 0)
                image.setPixel(x, y, qRgb(0x50, 0x50, 0x50));
    return image;
}

// What a refused or cancelled import must leave as it was.
struct PictureState
{
    QString fileName;
    QImage holder;
    QImage preview;
    QByteArray bytes;
    explicit PictureState(const BootScreenModel& m)
        : fileName(m.picFileName()), holder(m.imgScreen()), preview(m.imgLcd()),
          bytes(m.pictureBytes())
    {}
    bool operator==(const PictureState&) const = default;
};

} // namespace

Q_DECLARE_METATYPE(std::optional<hmk::PictureOptions>)

class TestBootScreenPage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void deviceViewShowsTheSave();
    void fitWarningNamesTheCutCharacters();
    void pictureStyleWithoutPictureIsBlue();
    void importWithOptions_data();
    void importWithOptions();
    void cancelledImportChangesNothing();
    void damagedBitmapRefusedBeforeTheDialog();
    void dialogShowsTheStoredPicture();
    void dialogAndToolGiveTheSameBytes();

private:
    QByteArray save();
    QString writePicture(const QString& name, const QImage& image);

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<TfrmConfig> window;
};

void TestBootScreenPage::init()
{
    QVERIFY(dir.isValid());
    dialogs = ScriptedDialogs();
    window = std::make_unique<TfrmConfig>(dialogs, Settings);
    QVERIFY(activate(*window));
    window->btnScreenClick();
}

void TestBootScreenPage::cleanup()
{
    window.reset();
}

QByteArray TestBootScreenPage::save()
{
    const QString path = dir.filePath(QStringLiteral("machine1.hkf"));
    QFile::remove(path);
    dialogs.saveAnswers << path;
    window->btnSaveClick();
    const QByteArray image = readAll(path);
    if (image.size() != layout::ImageSize)
        return {};
    return image.sliced(layout::LogoPixelFonts, layout::LogoPixelFontsSize);
}

QString TestBootScreenPage::writePicture(const QString& name, const QImage& image)
{
    const QString path = dir.filePath(name);
    if (!image.save(path))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestBootScreenPage::deviceViewShowsTheSave()
{
    auto* lcd = child<QRadioButton>(*window, "rbLcdPreview");
    auto* device = child<QRadioButton>(*window, "rbDeviceView");
    // The LCD preview comes first, as the page always was.
    QVERIFY(lcd->isChecked());
    QVERIFY(child<QLabel>(*window, "imgLcd")->isVisible());
    QVERIFY(!child<QLabel>(*window, "imgDevice")->isVisible());
    click(device);
    auto* view = child<QLabel>(*window, "imgDevice");
    QVERIFY(view->isVisible());
    QCOMPARE(view->pixmap().width(), 576); // 192 at the page's whole scale of 3

    QCOMPARE(shownScreen(view), save());

    // Titles in the Hei face, whose W and M the cells cut: the view follows
    // each keystroke and the font, and still shows what a save writes.
    child<QCheckBox>(*window, "cbUseDefaultScreen")->click();
    BootScreenModel& model = window->bootScreen();
    model.setMainFontList(QStringLiteral("黑体"));
    model.cbFontMainChange();
    type(child<QLineEdit>(*window, "edtMainTitle"), QStringLiteral("WMAX 切割"));
    const QByteArray titles = shownScreen(view);
    type(child<QLineEdit>(*window, "edtSubTitle"), QStringLiteral("Mw"));
    QVERIFY(shownScreen(view) != titles);
    QCOMPARE(shownScreen(view), save());

    // A picture.
    QImage picture(192, 32, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int x = 0; x < 192; x += 5)
        picture.setPixel(x, (x * 7) % 32, qRgb(0, 0, 0));
    click(child<ChoiceGroup>(*window, "rgStyleScreen")->findChildren<QAbstractButton*>().at(1));
    dialogs.openAnswers << writePicture(QStringLiteral("dots.bmp"), picture);
    child<QPushButton>(*window, "btnLoadPic")->click();
    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(shownScreen(view), save());
    QCOMPARE(shownScreen(view), window->bootScreen().pictureBytes());

    click(lcd);
    QVERIFY(child<QLabel>(*window, "imgLcd")->isVisible());
}

void TestBootScreenPage::fitWarningNamesTheCutCharacters()
{
    auto* warning = child<QLabel>(*window, "lblFitWarning");
    QVERIFY(warning->text().isEmpty()); // the default title in the default face fits
    child<QCheckBox>(*window, "cbUseDefaultScreen")->click();
    BootScreenModel& model = window->bootScreen();
    model.setMainFontList(QStringLiteral("黑体"));
    model.cbFontMainChange();
    auto* mainTitle = child<QLineEdit>(*window, "edtMainTitle");
    type(mainTitle, QStringLiteral("HWHM"));
    QCOMPARE(warning->text(), QStringLiteral("主标题：字符 W、M 超出 8 列，设备上会被截断"));
    QVERIFY(warning->isVisible()); // shown with the LCD preview too

    // Removing the cut characters one by one.
    mainTitle->setFocus();
    mainTitle->end(false);
    QTest::keyClick(mainTitle, Qt::Key_Backspace);
    QCOMPARE(warning->text(), QStringLiteral("主标题：字符 W 超出 8 列，设备上会被截断"));
    mainTitle->setCursorPosition(2);
    QTest::keyClick(mainTitle, Qt::Key_Backspace);
    QCOMPARE(mainTitle->text(), QStringLiteral("HH"));
    QVERIFY(warning->text().isEmpty());
}

// Issue: in picture style with no picture, the preview kept the titles while
// a save wrote an empty screen.
void TestBootScreenPage::pictureStyleWithoutPictureIsBlue()
{
    auto* lcd = child<QLabel>(*window, "imgLcd");
    click(child<ChoiceGroup>(*window, "rgStyleScreen")->findChildren<QAbstractButton*>().at(1));
    QCOMPARE(window->bootScreen().styleIndex(), 1);
    const QImage shown = lcd->pixmap().toImage();
    for (int y = 15; y < 100; ++y)
        for (int x = 45; x < 531; ++x)
            if (shown.pixelColor(x, y) != LcdBlue)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2)").arg(x).arg(y)));
    QCOMPARE(save(), QByteArray(layout::LogoPixelFontsSize, '\0'));
}

void TestBootScreenPage::importWithOptions_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<std::optional<PictureOptions>>("options");
    QTest::addColumn<bool>("loaded");

    using Rule = PictureOptions::InkRule;
    QTest::newRow("defaults: the grey logo is empty")
        << QSize(192, 32) << std::optional<PictureOptions>() << true;
    QTest::newRow("threshold 128")
        << QSize(192, 32) << std::optional(PictureOptions{Rule::Threshold, 128, false, false})
        << true;
    QTest::newRow("threshold 64, the grey is above it")
        << QSize(192, 32) << std::optional(PictureOptions{Rule::Threshold, 64, false, false})
        << true;
    QTest::newRow("invert") << QSize(192, 32)
                            << std::optional(PictureOptions{Rule::PureBlack, 128, true, false})
                            << true;
    QTest::newRow("another size, refused")
        << QSize(384, 64) << std::optional(PictureOptions{Rule::Threshold, 128, false, false})
        << false;
    QTest::newRow("another size, fitted")
        << QSize(384, 64) << std::optional(PictureOptions{Rule::Threshold, 128, false, true})
        << true;
}

void TestBootScreenPage::importWithOptions()
{
    QFETCH(QSize, size);
    QFETCH(std::optional<PictureOptions>, options);
    QFETCH(bool, loaded);
    const QString path = writePicture(QStringLiteral("grey.bmp"), greyLogo(size));
    window->bootScreen().setStyleIndex(1);
    dialogs.openAnswers << path;
    if (options)
        dialogs.pictureAnswers << options;
    child<QPushButton>(*window, "btnLoadPic")->click();

    QCOMPARE(dialogs.picturesShown.size(), 1);
    QCOMPARE(dialogs.picturesShown.constFirst().size(), size);
    BootScreenModel expected;
    const PictureResult result = expected.LoadLogoPicture(path, options.value_or(PictureOptions{}));
    QCOMPARE(result.outcome == PictureResult::Loaded, loaded);
    if (!loaded) {
        QCOMPARE(dialogs.messages, QStringList{WrongSizeMessage});
        QVERIFY(!window->bootScreen().hasPicture());
        return;
    }
    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(save(), expected.pictureBytes());
    QCOMPARE(window->bootScreen().picFileName(), path);
    // The grey logo has ink exactly where the rule finds it.
    const bool empty = expected.pictureBytes() == QByteArray(layout::LogoPixelFontsSize, '\0');
    QCOMPARE(empty, !options || (options->threshold == 64 && !options->invert));
}

void TestBootScreenPage::cancelledImportChangesNothing()
{
    BootScreenModel& model = window->bootScreen();
    model.setStyleIndex(1);
    QImage first(192, 32, QImage::Format_RGB32);
    first.fill(Qt::white);
    first.setPixel(3, 3, qRgb(0, 0, 0));
    dialogs.openAnswers << writePicture(QStringLiteral("first.bmp"), first);
    child<QPushButton>(*window, "btnLoadPic")->click();
    const PictureState before(model);
    const QByteArray saved = save();

    dialogs.openAnswers << writePicture(QStringLiteral("grey.bmp"), greyLogo({192, 32}));
    dialogs.pictureAnswers << std::nullopt;
    child<QPushButton>(*window, "btnLoadPic")->click();
    QCOMPARE(dialogs.picturesShown.size(), 2);
    QVERIFY(dialogs.messages.isEmpty());
    QVERIFY(PictureState(model) == before);
    QCOMPARE(save(), saved);
}

void TestBootScreenPage::damagedBitmapRefusedBeforeTheDialog()
{
    BootScreenModel& model = window->bootScreen();
    model.setStyleIndex(1);
    const PictureState before(model);
    const QString path = dir.filePath(QStringLiteral("cut.bmp"));
    QVERIFY(writeAll(path, test::qtBitmap(QImage::Format_Mono, {{0, 0}}).chopped(16)));
    dialogs.openAnswers << path;
    child<QPushButton>(*window, "btnLoadPic")->click();
    QVERIFY(dialogs.picturesShown.isEmpty());
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(dialogs.messages.constFirst().contains(QStringLiteral("cut.bmp")));
    QVERIFY(dialogs.messages.constFirst().contains(BmpPixelsShortReason));
    QVERIFY(PictureState(model) == before);
}

void TestBootScreenPage::dialogShowsTheStoredPicture()
{
    for (const QSize size : {QSize(192, 32), QSize(384, 64)}) {
        const QImage grey = greyLogo(size);
        PictureImportDialog dialog(grey);
        dialog.show();
        auto* sizeBox = dialog.findChild<QGroupBox*>(QStringLiteral("grpPictureSize"));
        auto* preview = dialog.findChild<QLabel*>(QStringLiteral("imgImportPreview"));
        auto* note = dialog.findChild<QLabel*>(QStringLiteral("lblImportNote"));
        auto* threshold = dialog.findChild<QRadioButton*>(QStringLiteral("rbThreshold"));
        auto* value = dialog.findChild<QSpinBox*>(QStringLiteral("spnThreshold"));
        QVERIFY(sizeBox && preview && note && threshold && value);
        QCOMPARE(sizeBox->isVisible(), size != QSize(192, 32));
        QCOMPARE(dialog.options(), PictureOptions{});
        QVERIFY(!value->isEnabled());

        const auto expect = [&](const PictureOptions& options) {
            const QImage stored = storedPicture(grey, options);
            GlyphBuffers glyphs;
            const QByteArray bytes = stored.isNull() ? QByteArray() : pictureBands(glyphs, stored);
            QCOMPARE(dialog.options(), options);
            QCOMPARE(dialog.storedBytes(), bytes);
            QCOMPARE(note->text(), bytes.isEmpty() ? WrongSizeMessage : QString());
            QCOMPARE(shownScreen(preview),
                     bytes.isEmpty() ? QByteArray(layout::LogoPixelFontsSize, '\0') : bytes);
        };
        PictureOptions options;
        expect(options);
        click(threshold);
        QVERIFY(value->isEnabled());
        options.ink = PictureOptions::InkRule::Threshold;
        expect(options);
        value->setValue(60);
        options.threshold = 60;
        expect(options);
        click(dialog.findChild<QCheckBox*>(QStringLiteral("cbInvert")));
        options.invert = true;
        expect(options);
        if (size != QSize(192, 32)) {
            click(dialog.findChild<QRadioButton*>(QStringLiteral("rbFit")));
            options.fit = true;
            expect(options);
        }
        click(dialog.findChild<QPushButton*>(QStringLiteral("btnImportCancel")));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
}

void TestBootScreenPage::dialogAndToolGiveTheSameBytes()
{
    const QString path = writePicture(QStringLiteral("grey.bmp"), greyLogo({300, 40}));
    window->bootScreen().setStyleIndex(1);
    dialogs.openAnswers << path;
    dialogs.pictureAnswers << PictureOptions{PictureOptions::InkRule::Threshold, 100, true, true};
    child<QPushButton>(*window, "btnLoadPic")->click();
    QVERIFY(dialogs.messages.isEmpty());
    const QByteArray fromWindow = save();

    const QString image = dir.filePath(QStringLiteral("tool/machine1.hkf"));
    QDir(dir.path()).mkpath(QStringLiteral("tool"));
    QProcess tool;
    tool.start(Tool, {QStringLiteral("build"), QStringLiteral("-o"), image,
                      QStringLiteral("--picture"), path, QStringLiteral("--threshold"),
                      QStringLiteral("100"), QStringLiteral("--invert"), QStringLiteral("--fit")});
    QVERIFY(tool.waitForFinished(30000));
    QVERIFY2(tool.exitCode() == 0, tool.readAllStandardError().constData());
    QCOMPARE(readAll(image).sliced(layout::LogoPixelFonts, layout::LogoPixelFontsSize), fromWindow);
    QVERIFY(fromWindow != QByteArray(layout::LogoPixelFontsSize, '\0'));
}

QTEST_MAIN(TestBootScreenPage)
#include "tst_bootscreenpage.moc"
