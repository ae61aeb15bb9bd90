#include "BootScreenModel.h"

#include "BootPicture.h"
#include "FontList.h"
#include "LcdPreview.h"
#include "image/ImageLayout.h"

#include <algorithm>

namespace hmk {

namespace {

constexpr int PreviewWidth = 585;
constexpr int PreviewHeight = 192;

} // namespace

struct BootScreenModel::Private
{
    int styleIndex = 0;
    bool isPic = false;
    bool useDefault = true;
    bool notEnableParam = true;
    QString mainTitle = DefaultMainTitle;
    QString subTitle = DefaultSubTitle;
    QString mainFont;
    QString subFont;
    QString mainTitleFont = DefaultTitleFace;
    QString subTitleFont = DefaultTitleFace;
    bool changePenColor = true;
    QString picFileName;

    bool titlesEnabled = false;
    bool useDefaultEnabled = true;
    bool loadPicEnabled = false;
    bool previewDrawn = true;

    GlyphBuffers glyphs;
    // The picture's bands, kept apart from the glyph buffers that a title
    // save overwrites: a picture save writes what the preview shows.
    QByteArray picture = QByteArray(layout::LogoPixelFontsSize, '\0');
    bool hasPicture = false;
    QImage imgScreen;
    // Made on first use: a model whose preview is never drawn or shown
    // (hkftool) does not pay for it.
    QImage imgLcd;
    QImage& lcd()
    {
        if (imgLcd.isNull()) {
            imgLcd = QImage(PreviewWidth, PreviewHeight, QImage::Format_RGB32);
            imgLcd.fill(Qt::white);
        }
        return imgLcd;
    }

    QFont encodingFont(const QString& FontName, bool IsMain) const;
};

BootScreenModel::BootScreenModel(QObject* parent) : QObject(parent), d(new Private)
{
    d->mainFont = installedFaceName(DefaultTitleFace);
    d->subFont = d->mainFont;
}

BootScreenModel::~BootScreenModel()
{
    delete d;
}

int BootScreenModel::styleIndex() const
{
    return d->styleIndex;
}

bool BootScreenModel::isPic() const
{
    return d->isPic;
}

bool BootScreenModel::useDefaultScreen() const
{
    return d->useDefault;
}

bool BootScreenModel::notEnableParam() const
{
    return d->notEnableParam;
}

QString BootScreenModel::mainTitle() const
{
    return d->mainTitle;
}

QString BootScreenModel::subTitle() const
{
    return d->subTitle;
}

QString BootScreenModel::mainFontName() const
{
    return d->mainFont;
}

QString BootScreenModel::subFontName() const
{
    return d->subFont;
}

QString BootScreenModel::mainTitleFont() const
{
    return d->mainTitleFont;
}

QString BootScreenModel::subTitleFont() const
{
    return d->subTitleFont;
}

bool BootScreenModel::changePenColor() const
{
    return d->changePenColor;
}

QString BootScreenModel::picFileName() const
{
    return d->picFileName;
}

bool BootScreenModel::titlesEnabled() const
{
    return d->titlesEnabled;
}

bool BootScreenModel::useDefaultEnabled() const
{
    return d->useDefaultEnabled;
}

bool BootScreenModel::loadPicEnabled() const
{
    return d->loadPicEnabled;
}

void BootScreenModel::setStyleIndex(qint64 index)
{
    // A choice group of two items: indices above 1 select the last item,
    // below -1 select none.
    const int limited = int(std::clamp<qint64>(index, -1, 1));
    if (limited == d->styleIndex)
        return;
    d->styleIndex = limited;
    rgStyleScreenClick();
}

void BootScreenModel::rgStyleScreenClick()
{
    if (d->styleIndex == 1) {
        // A picture is always a boot screen of its own.
        d->loadPicEnabled = true;
        setUseDefaultScreen(false);
        d->isPic = true;
        d->useDefaultEnabled = false;
        d->titlesEnabled = false;
        // The preview shows what a save writes at once: the picture, or an
        // empty screen before there is one.
        DrawLcdPreview();
        emit changed();
        return;
    }
    d->loadPicEnabled = false;
    d->useDefaultEnabled = true;
    d->titlesEnabled = true;
    d->isPic = false;
    edtMainTitleChange();
}

void BootScreenModel::setUseDefaultScreen(bool checked)
{
    if (checked == d->useDefault)
        return;
    d->useDefault = checked;
    cbUseDefaultScreenClick();
}

void BootScreenModel::cbUseDefaultScreenClick()
{
    if (d->useDefault) {
        setMainTitle(DefaultMainTitle);
        setSubTitle(DefaultSubTitle);
    }
    d->titlesEnabled = !d->useDefault;
    emit changed();
}

void BootScreenModel::setNotEnableParam(bool checked)
{
    if (checked == d->notEnableParam)
        return;
    d->notEnableParam = checked;
    emit changed();
}

void BootScreenModel::setMainTitle(const QString& text)
{
    if (text == d->mainTitle)
        return;
    d->mainTitle = text;
    edtMainTitleChange();
}

void BootScreenModel::setSubTitle(const QString& text)
{
    if (text == d->subTitle)
        return;
    d->subTitle = text;
    edtSubTitleChange();
}

void BootScreenModel::edtMainTitleChange()
{
    DrawLcdPreview();
    d->titlesEnabled = !d->useDefault;
    emit changed();
}

void BootScreenModel::edtSubTitleChange()
{
    DrawLcdPreview();
    emit changed();
}

void BootScreenModel::TitleExit(bool main)
{
    if (main)
        setMainTitle(TruncateTitle(d->mainTitle, layout::TitleRoom));
    else
        setSubTitle(TruncateTitle(d->subTitle, layout::TitleRoom));
}

void BootScreenModel::setMainFontList(const QString& faceName)
{
    d->mainFont = installedFaceName(faceName);
    emit changed();
}

void BootScreenModel::setSubFontList(const QString& faceName)
{
    d->subFont = installedFaceName(faceName);
    emit changed();
}

void BootScreenModel::setMainTitleFont(const QString& faceName)
{
    if (faceName.isEmpty())
        return;
    d->mainTitleFont = faceName;
    emit changed();
}

void BootScreenModel::setSubTitleFont(const QString& faceName)
{
    if (faceName.isEmpty())
        return;
    d->subTitleFont = faceName;
    emit changed();
}

void BootScreenModel::cbFontMainChange()
{
    setMainTitleFont(d->mainFont);
    DrawLcdPreview();
}

void BootScreenModel::cbFontSubChange()
{
    setSubTitleFont(d->subFont);
    DrawLcdPreview();
}

void BootScreenModel::setChangePenColor(bool on)
{
    d->changePenColor = on;
    emit changed();
}

void BootScreenModel::setPicFileName(const QString& name)
{
    d->picFileName = name;
    emit changed();
}

PictureResult BootScreenModel::LoadLogoPicture(const QString& FileName,
                                               const PictureOptions& options)
{
    return importPicture(FileName, readPictureFile(FileName), options);
}

PictureResult BootScreenModel::importPicture(const QString& FileName, const PictureFile& file,
                                             const PictureOptions& options)
{
    // Nothing changes until the picture has passed: a refused or unreadable
    // file leaves the holder, the file name, the bytes and the preview alone.
    if (!file.error.isEmpty())
        return {PictureResult::Unreadable, file.error};
    const QImage stored = storedPicture(file.image, options);
    if (stored.isNull())
        return {PictureResult::WrongSize, {}};

    d->picFileName = FileName;
    d->imgScreen = stored;
    d->picture = pictureBands(d->glyphs, d->imgScreen);
    d->hasPicture = true;
    if (d->changePenColor)
        ConvertPenColor(d->imgScreen, d->picture);
    DrawLcdPreview();
    emit changed();
    return {};
}

bool BootScreenModel::hasPicture() const
{
    return d->hasPicture;
}

QByteArray BootScreenModel::pictureBytes() const
{
    return d->picture;
}

const QImage& BootScreenModel::imgScreen() const
{
    return d->imgScreen;
}

void BootScreenModel::exportScreen(THMK725ConfigData& config)
{
    // No style selected (-1) is stored as its 32-bit pattern and saves the
    // titles.
    config.setLogoUsePic(quint32(d->styleIndex));
    if (d->styleIndex == 1) {
        WriteLogoPicture(config);
        return;
    }
    EncodeLogoTitle(config, d->mainTitle, d->mainFont, true);
    EncodeLogoTitle(config, d->subTitle, d->subFont, false);
}

QFont BootScreenModel::Private::encodingFont(const QString& FontName, bool IsMain) const
{
    // A font list without a choice leaves the drawing to the font the title
    // field shows, which is also what the preview draws with.
    return titleFont(!FontName.isEmpty() ? FontName : (IsMain ? mainTitleFont : subTitleFont));
}

void BootScreenModel::EncodeLogoTitle(THMK725ConfigData& config, const QString& Title,
                                      const QString& FontName, bool IsMain)
{
    hmk::EncodeLogoTitle(config, d->glyphs, Title, FontName, d->encodingFont(FontName, IsMain),
                         IsMain);
}

DeviceScreen BootScreenModel::deviceScreen() const
{
    // The same choice as exportScreen, drawn with glyph buffers of its own.
    if (d->styleIndex == 1)
        return {d->picture, {}, {}};
    GlyphBuffers glyphs;
    const QFont mainFont = d->encodingFont(d->mainFont, true);
    const QFont subFont = d->encodingFont(d->subFont, false);
    return {titleStrip(glyphs, d->mainTitle, mainFont) + titleStrip(glyphs, d->subTitle, subFont),
            titleCuts(d->mainTitle, mainFont), titleCuts(d->subTitle, subFont)};
}

void BootScreenModel::WriteLogoPicture(THMK725ConfigData& config) const
{
    hmk::WriteLogoPicture(config, d->picture);
}

void BootScreenModel::RestoreLogo(const quint8* image)
{
    setUseDefaultScreen(readWord(image, layout::IncludeScreen) == 0);
    setNotEnableParam(readWord(image, layout::IncludeParam) == 0);
    setStyleIndex(qint32(readWord(image, layout::LogoUsePic)));
    rgStyleScreenClick();
    if (d->isPic)
        RestoreLogoPicture(image);
    else
        RestoreLogoTitles(image);
}

void BootScreenModel::RestoreLogoTitles(const quint8* image)
{
    if (d->useDefault) {
        setMainTitle(DefaultMainTitle);
        setSubTitle(DefaultSubTitle);
    } else {
        setMainTitle(storedText(image, layout::Logo1Len, layout::Logo1Desc, layout::TitleRoom));
        setMainFontList(
            storedText(image, layout::Logo1FontLen, layout::Logo1FontName, layout::Logo1FontRoom));
        setMainTitleFont(d->mainFont);
        setSubTitle(storedText(image, layout::Logo2Len, layout::Logo2Desc, layout::TitleRoom));
        setSubFontList(
            storedText(image, layout::Logo2FontLen, layout::Logo2FontName, layout::Logo2FontRoom));
        setSubTitleFont(d->subFont);
    }
    d->titlesEnabled = !d->useDefault;
    DrawLcdPreview();
    emit changed();
}

void BootScreenModel::RestoreLogoPicture(const quint8* image)
{
    DrawBlankLcd();
    setPictureBands(QByteArrayView(image + layout::LogoPixelFonts, layout::LogoPixelFontsSize));
}

void BootScreenModel::setPictureBands(QByteArrayView bands)
{
    // A picture from bytes is always shown in the LCD colours: the bytes are
    // its only record.
    d->picture =
        bands.first(std::min<qsizetype>(bands.size(), layout::LogoPixelFontsSize)).toByteArray();
    d->picture.resize(layout::LogoPixelFontsSize, '\0');
    d->hasPicture = true;
    ConvertPenColor(d->imgScreen, d->picture);
    DrawLcdPreview();
    emit changed();
}

void BootScreenModel::setPreviewDrawn(bool drawn)
{
    d->previewDrawn = drawn;
}

void BootScreenModel::DrawLcdPreview()
{
    if (!d->previewDrawn)
        return;
    if (d->isPic) {
        drawPictureFace(d->lcd(), d->imgScreen);
    } else {
        QString main = TruncateTitle(d->mainTitle, layout::TitleRoom);
        if (main.isEmpty())
            main = DefaultMainTitle;
        QString sub = TruncateTitle(d->subTitle, layout::TitleRoom);
        if (sub.isEmpty())
            sub = DefaultSubTitle;
        drawPanel(d->lcd(), composeTitleScreen(main, titleFont(d->mainTitleFont), sub,
                                               titleFont(d->subTitleFont)));
    }
    emit previewChanged();
}

void BootScreenModel::DrawBlankLcd()
{
    if (!d->previewDrawn)
        return;
    drawPanel(d->lcd(), composeBlankScreen());
    emit previewChanged();
}

const QImage& BootScreenModel::imgLcd() const
{
    return d->lcd();
}

} // namespace hmk
