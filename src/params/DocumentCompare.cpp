#include "DocumentCompare.h"

#include "ConfigOpener.h"
#include "bootscreen/BootScreenModel.h"
#include "image/CfgHMK725.h"

#include <bit>

namespace hmk {

namespace {

const std::array<BootItemInfo, BootItemCount> BootItems{{
    {BootItem::Style, "Style", "开机画面样式"},
    {BootItem::UseDefaultScreen, "UseDefaultScreen", "使用默认的开机画面"},
    {BootItem::MainTitle, "MainTitle", MainTitleLabel},
    {BootItem::MainFont, "MainTitleFont", "主标题字体"},
    {BootItem::SubTitle, "SubTitle", SubTitleLabel},
    {BootItem::SubFont, "SubTitleFont", "副标题字体"},
    {BootItem::Picture, "Picture", "开机图片"},
}};

const QString CheckedText = QStringLiteral("是");
const QString UncheckedText = QStringLiteral("否");
const QString NoParamsNote = QStringLiteral("该文件只含开机画面，不含参数：只比较开机画面。");

int differingPixels(const QByteArray& a, const QByteArray& b)
{
    int pixels = 0;
    for (int i = 0; i < layout::LogoPixelFontsSize; ++i) {
        const quint8 x = i < a.size() ? quint8(a[i]) : 0;
        const quint8 y = i < b.size() ? quint8(b[i]) : 0;
        pixels += std::popcount(unsigned(x ^ y));
    }
    return pixels;
}

QString bootValue(BootItem item, const BootScreenState& s)
{
    switch (item) {
    case BootItem::Style:
        return s.style >= 0 && s.style < int(StyleCaptions.size()) ? StyleCaptions[s.style]
                                                                   : QString();
    case BootItem::UseDefaultScreen:
        return s.useDefaultScreen ? CheckedText : UncheckedText;
    case BootItem::MainTitle:
        return s.mainTitle;
    case BootItem::MainFont:
        return s.mainFont;
    case BootItem::SubTitle:
        return s.subTitle;
    case BootItem::SubFont:
        return s.subFont;
    case BootItem::Picture:
        return QStringLiteral("192 × 32");
    }
    return {};
}

bool sameBootItem(BootItem item, const BootScreenState& a, const BootScreenState& b)
{
    switch (item) {
    case BootItem::Style:
        return a.style == b.style;
    case BootItem::UseDefaultScreen:
        return a.useDefaultScreen == b.useDefaultScreen;
    case BootItem::MainTitle:
        return a.mainTitle == b.mainTitle;
    case BootItem::MainFont:
        return a.mainFont == b.mainFont;
    case BootItem::SubTitle:
        return a.subTitle == b.subTitle;
    case BootItem::SubFont:
        return a.subFont == b.subFont;
    case BootItem::Picture:
        // Only a picture that is shown counts: in title style the saved
        // screen is drawn from the titles.
        return (a.style != 1 && b.style != 1) || differingPixels(a.picture, b.picture) == 0;
    }
    return true;
}

// The label as the page shows it, without its colon.
QString bareLabel(const ParamEntry& entry)
{
    QString label = QString::fromUtf8(entry.label);
    if (label.endsWith(QChar(u'：')))
        label.chop(1);
    return label;
}

} // namespace

const std::array<BootItemInfo, BootItemCount>& bootItems()
{
    return BootItems;
}

BootScreenState bootStateOf(const BootScreenModel& boot)
{
    BootScreenState s;
    s.style = boot.styleIndex();
    s.useDefaultScreen = boot.useDefaultScreen();
    s.mainTitle = boot.mainTitle();
    s.mainFont = boot.mainFontName();
    s.subTitle = boot.subTitle();
    s.subFont = boot.subFontName();
    s.picture = boot.pictureBytes();
    return s;
}

Document documentOf(const ParamValues& values, const BootScreenModel& boot)
{
    return Document{values, bootStateOf(boot)};
}

void applyBootItem(BootScreenModel& boot, BootItem item, const BootScreenState& state)
{
    switch (item) {
    case BootItem::Style:
        boot.setStyleIndex(state.style);
        break;
    case BootItem::UseDefaultScreen:
        // A picture never uses the default screen; its switch is locked.
        if (boot.useDefaultEnabled())
            boot.setUseDefaultScreen(state.useDefaultScreen);
        break;
    case BootItem::MainTitle:
        boot.setMainTitle(state.mainTitle);
        break;
    case BootItem::MainFont:
        boot.setMainFontList(state.mainFont);
        boot.setMainTitleFont(boot.mainFontName());
        boot.DrawLcdPreview();
        break;
    case BootItem::SubTitle:
        boot.setSubTitle(state.subTitle);
        break;
    case BootItem::SubFont:
        boot.setSubFontList(state.subFont);
        boot.setSubTitleFont(boot.subFontName());
        boot.DrawLcdPreview();
        break;
    case BootItem::Picture:
        boot.setPictureBands(state.picture);
        break;
    }
}

void applyBootState(BootScreenModel& boot, const BootScreenState& state)
{
    for (const BootItemInfo& info : BootItems)
        applyBootItem(boot, info.item, state);
}

OtherDocument settingsDocument(const IniFile* ini, bool factory, const ShowMessage& showMessage)
{
    OtherDocument other;
    Document doc{formValues(), {}};
    BootScreenModel boot;
    if (ini) {
        // No receiver: the loader's messages go nowhere.
        const ShowMessage show = showMessage ? showMessage : [](const QString&) {};
        const SettingsLoad load = LoadSettings(*ini, factory, boot, doc.params, show);
        if (!load.error.ok()) {
            other.error = load.error.error;
            return other;
        }
    }
    doc.boot = bootStateOf(boot);
    other.document = doc;
    return other;
}

OtherDocument openedDocument(const Document& current, const quint8* image)
{
    BootScreenModel boot;
    applyBootState(boot, current.boot);
    boot.RestoreLogo(image);
    OtherDocument other;
    Document doc{current.params, bootStateOf(boot)};
    if (boot.notEnableParam()) {
        other.paramsIncluded = false;
        other.note = NoParamsNote;
    } else {
        doc.params = RestoreParams(image);
    }
    other.document = doc;
    return other;
}

OtherDocument fileDocument(const Document& current, const QString& path)
{
    OtherDocument other;
    const ImageFileOpen image = openImageFile(path);
    if (!image.status) {
        other.error = image.status.error;
        return other;
    }
    if (!image.ok()) {
        other.error = image.checkMessage;
        return other;
    }
    return openedDocument(current, image.data());
}

bool sameValue(const ParamEntry& entry, const ParamValue& a, const ParamValue& b)
{
    switch (entry.kind) {
    case ControlKind::Numeric:
        return a.number == b.number;
    case ControlKind::Choice:
        return a.choice == b.choice;
    case ControlKind::Address:
        return a.text == b.text;
    }
    return true;
}

QList<Difference> compareDocuments(const Document& ours, const Document& theirs, bool params)
{
    QList<Difference> diffs;
    for (const BootItemInfo& info : BootItems) {
        if (sameBootItem(info.item, ours.boot, theirs.boot))
            continue;
        Difference d;
        d.bootItem = info.item;
        d.name = QString::fromLatin1(info.name);
        d.label = QString::fromUtf8(info.label);
        d.ours = bootValue(info.item, ours.boot);
        d.theirs = bootValue(info.item, theirs.boot);
        if (info.item == BootItem::Picture)
            d.pixels = differingPixels(ours.boot.picture, theirs.boot.picture);
        diffs.append(d);
    }
    if (!params)
        return diffs;
    for (const ParamEntry& entry : catalogue()) {
        const int i = paramIndex(entry);
        if (sameValue(entry, ours.params[i], theirs.params[i]))
            continue;
        Difference d;
        d.param = &entry;
        d.name = entry.nameText();
        d.label = bareLabel(entry);
        d.ours = shownValue(entry, ours.params[i]);
        d.theirs = shownValue(entry, theirs.params[i]);
        diffs.append(d);
    }
    return diffs;
}

bool outsideLimits(const ParamEntry& entry, Thousandths value)
{
    return entry.isNumeric() && entry.hasLimits() && (value < entry.min || value > entry.max);
}

QString limitsText(const ParamEntry& entry)
{
    return QStringLiteral("%1 ～ %2")
        .arg(formatNumber(entry.min, entry.format), formatNumber(entry.max, entry.format));
}

} // namespace hmk
