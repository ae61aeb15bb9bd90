#pragma once

// What the user sees of the document in a window: every parameter control,
// the caption and the boot-screen page. Window tests compare two of these,
// one difference named at a time, to show where a save and an open parted.

#include "ConfigMain.h"
#include "params/ParamCatalogue.h"

#include <QCheckBox>
#include <QLineEdit>

namespace hmk {

struct DocumentState
{
    ParamValues values;
    QString caption;
    bool notEnableParam = false;
    bool useDefaultScreen = false;
    int style = 0;
    QString mainTitle;
    QString subTitle;
    QString mainFont;
    QString subFont;
    QByteArray picture; // only in the picture style
};

inline DocumentState documentOf(TfrmConfig& window)
{
    const auto checked = [&](const char* name) {
        return window.findChild<QCheckBox*>(QLatin1String(name))->isChecked();
    };
    const auto text = [&](const char* name) {
        return window.findChild<QLineEdit*>(QLatin1String(name))->text();
    };
    const BootScreenModel& boot = window.bootScreen();
    DocumentState d;
    d.values = window.readControls();
    d.caption = window.windowTitle();
    d.notEnableParam = checked("cbNotEnableParam");
    d.useDefaultScreen = checked("cbUseDefaultScreen");
    d.style = boot.styleIndex();
    d.mainTitle = text("edtMainTitle");
    d.subTitle = text("edtSubTitle");
    d.mainFont = boot.mainFontName();
    d.subFont = boot.subFontName();
    if (d.style == 1)
        d.picture = boot.pictureBytes();
    return d;
}

inline QString valueText(const ParamEntry& entry, const ParamValue& value)
{
    switch (entry.kind) {
    case ControlKind::Numeric:
        return QString::number(value.number) + QStringLiteral(" thousandths");
    case ControlKind::Choice:
        return QStringLiteral("choice %1").arg(value.choice);
    case ControlKind::Address:
        return value.text;
    }
    return {};
}

// The first parameter whose values differ, named with both values; empty
// when all 47 agree.
inline QString paramDifference(const ParamValues& a, const ParamValues& b)
{
    for (const ParamEntry& entry : catalogue()) {
        const int i = paramIndex(entry);
        if (a[i].number != b[i].number || a[i].choice != b[i].choice || a[i].text != b[i].text)
            return QStringLiteral("%1: %2 / %3")
                .arg(entry.nameText(), valueText(entry, a[i]), valueText(entry, b[i]));
    }
    return {};
}

// The first difference of the boot-screen page as far as an image carries it,
// or of the parameters when `withParams`; empty when they agree. The caption
// is left to the caller.
inline QString documentDifference(const DocumentState& a, const DocumentState& b,
                                  bool withParams = true)
{
    const auto differs = [](const char* what, const auto& x, const auto& y) {
        return QStringLiteral("%1: %2 / %3")
            .arg(QLatin1String(what), QVariant(x).toString(), QVariant(y).toString());
    };
    if (a.notEnableParam != b.notEnableParam)
        return differs("cbNotEnableParam", a.notEnableParam, b.notEnableParam);
    if (a.useDefaultScreen != b.useDefaultScreen)
        return differs("cbUseDefaultScreen", a.useDefaultScreen, b.useDefaultScreen);
    if (a.style != b.style)
        return differs("rgStyleScreen", a.style, b.style);
    // A picture boot screen carries no titles, and the default one no fonts.
    const bool titles = a.style == 0;
    const bool fonts = titles && !a.useDefaultScreen;
    if (titles && a.mainTitle != b.mainTitle)
        return differs("edtMainTitle", a.mainTitle, b.mainTitle);
    if (titles && a.subTitle != b.subTitle)
        return differs("edtSubTitle", a.subTitle, b.subTitle);
    if (fonts && a.mainFont != b.mainFont)
        return differs("cbFontMain", a.mainFont, b.mainFont);
    if (fonts && a.subFont != b.subFont)
        return differs("cbFontSub", a.subFont, b.subFont);
    if (a.picture != b.picture)
        return QStringLiteral("picture bytes differ");
    return withParams ? paramDifference(a.values, b.values) : QString();
}

} // namespace hmk
