#include "BootScreenModel.h"

#include "image/Codepage.h"

#include <algorithm>

namespace hmk {

// First cut: the state and its reactions; glyphs, picture and preview follow.
struct BootScreenModel::Private
{
    int styleIndex = 0;
    bool isPic = false;
    bool useDefault = true;
    bool notEnableParam = true;
    QString mainTitle = DefaultMainTitle;
    QString subTitle = DefaultSubTitle;
    QString mainFont = QStringLiteral("宋体");
    QString subFont = QStringLiteral("宋体");
    QString mainTitleFont = QStringLiteral("宋体");
    QString subTitleFont = QStringLiteral("宋体");
    bool changePenColor = true;
    QString picFileName;
    bool titlesEnabled = false;
    bool useDefaultEnabled = true;
    bool loadPicEnabled = false;
    bool hasPicture = false;
    QByteArray picture = QByteArray(768, '\0');
    QImage imgScreen;
    QImage imgLcd = QImage(585, 192, QImage::Format_RGB32);
};

BootScreenModel::BootScreenModel(QObject* parent) : QObject(parent), d(new Private)
{
    d->imgLcd.fill(Qt::white);
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
    const int limited = int(std::clamp<qint64>(index, -1, 1));
    if (limited == d->styleIndex)
        return;
    d->styleIndex = limited;
    rgStyleScreenClick();
}

void BootScreenModel::rgStyleScreenClick()
{
    if (d->styleIndex == 1) {
        d->loadPicEnabled = true;
        setUseDefaultScreen(false);
        d->isPic = true;
        d->useDefaultEnabled = false;
        d->titlesEnabled = false;
    } else {
        d->loadPicEnabled = false;
        d->useDefaultEnabled = true;
        d->titlesEnabled = true;
        d->isPic = false;
        edtMainTitleChange();
    }
    emit changed();
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
        setMainTitle(TruncateTitle(d->mainTitle, 24));
    else
        setSubTitle(TruncateTitle(d->subTitle, 24));
}

void BootScreenModel::setMainFontList(const QString& faceName)
{
    d->mainFont = faceName;
    emit changed();
}

void BootScreenModel::setSubFontList(const QString& faceName)
{
    d->subFont = faceName;
    emit changed();
}

void BootScreenModel::setMainTitleFont(const QString& faceName)
{
    if (!faceName.isEmpty())
        d->mainTitleFont = faceName;
    emit changed();
}

void BootScreenModel::setSubTitleFont(const QString& faceName)
{
    if (!faceName.isEmpty())
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

PictureResult BootScreenModel::LoadLogoPicture(const QString& FileName)
{
    QImage image;
    if (!image.load(FileName))
        return {PictureResult::Unreadable, FileName};
    if (image.size() != QSize(192, 32))
        return {PictureResult::WrongSize, {}};
    d->imgScreen = image;
    d->picFileName = FileName;
    d->hasPicture = true;
    DrawLcdPreview();
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
    config.setLogoUsePic(quint32(d->styleIndex));
    if (d->styleIndex == 1)
        config.ExportLogoFonts(d->picture, 0x200, 768);
}

void BootScreenModel::RestoreLogo(const quint8* image)
{
    setUseDefaultScreen(readWord(image, 0x18) == 0);
    setNotEnableParam(readWord(image, 0x1C) == 0);
    setStyleIndex(qint32(readWord(image, 0x7F0)));
    rgStyleScreenClick();
}

void BootScreenModel::DrawLcdPreview()
{
    emit previewChanged();
}

void BootScreenModel::DrawBlankLcd()
{
    emit previewChanged();
}

const QImage& BootScreenModel::imgLcd() const
{
    return d->imgLcd;
}

QString TruncateTitle(const QString& Text, int MaxBytes)
{
    return cp936::truncateToBytes(Text, MaxBytes);
}

QString CenterTitle(const QString& Title)
{
    return Title;
}

bool titleKeyAccepted(const QString& currentText, char16_t key)
{
    if (key >= 32 || key == 22)
        return cp936::byteCount(currentText) < 24;
    return true;
}

} // namespace hmk
