#include "ImageBuild.h"

#include "ImageFields.h"
#include "bootscreen/BootScreenModel.h"
#include "bootscreen/FontList.h"
#include "image/Codepage.h"
#include "params/ConfigBuilder.h"
#include "params/SettingsLoader.h"

#include <QRegularExpression>
#include <limits>

namespace hmk::tool {

namespace {

// The default-screen switch goes by the settings file's own name and, as
// hkftool has always taken it, by UseDefaultScreen.
const QString UseDefaultAlias = QStringLiteral("UseDefaultScreen");

bool isDefaultScreenSwitch(const QString& name)
{
    return name == QLatin1String(DefaultTitleKey) || name == UseDefaultAlias;
}

QString describeParam(const ParamEntry& entry)
{
    return QStringLiteral("%1 (%2)").arg(entry.nameText(), labelOf(entry));
}

QString unitSuffix(const ParamEntry& entry)
{
    const QString unit = unitOf(entry);
    return unit.isEmpty() ? QString() : QLatin1Char(' ') + unit;
}

QString checkNumber(const ParamEntry& entry, const QString& text, ParamValue& value)
{
    static const QRegularExpression number(QStringLiteral("^([+-]?)(\\d{1,12})(?:\\.(\\d+))?$"));
    const QRegularExpressionMatch m = number.match(text);
    const int decimals = entry.decimals();
    // The two coordinates have no limits; the image holds them as signed
    // 32-bit thousandths, of which the field shows its own decimals.
    const Thousandths step = powerOfTen(3 - decimals);
    const Thousandths widest = std::numeric_limits<qint32>::max() / step * step;
    const Thousandths min = entry.hasLimits() ? entry.min : -widest;
    const Thousandths max = entry.hasLimits() ? entry.max : widest;
    const QString range =
        QStringLiteral("%1 to %2%3")
            .arg(decimalText(min, decimals), decimalText(max, decimals), unitSuffix(entry));
    if (!m.hasMatch())
        return QStringLiteral("%1: \"%2\" is not a number; it takes %3")
            .arg(describeParam(entry), text, range);
    const QString fraction = m.captured(3);
    if (fraction.size() > decimals) {
        const QString shown = decimals == 0 ? QStringLiteral("whole numbers only")
                                            : QStringLiteral("at most %1 decimals").arg(decimals);
        return QStringLiteral("%1: %2 has more decimals than the field shows; it takes %3 in %4")
            .arg(describeParam(entry), text, shown, range);
    }
    Thousandths v =
        m.captured(2).toLongLong() * 1000 + (fraction + QStringLiteral("000")).left(3).toLongLong();
    if (m.captured(1) == QLatin1String("-"))
        v = -v;
    if (v < min || v > max)
        return QStringLiteral("%1: %2 is outside its range %3")
            .arg(describeParam(entry), text, range);
    value.number = v;
    return {};
}

QString checkChoice(const ParamEntry& entry, const QString& text, ParamValue& value)
{
    QStringList offered;
    for (int i = 0; i < entry.choiceCount(); ++i) {
        const QString caption = QString::fromUtf8(entry.choices[i]);
        if (text == caption || text == QString::number(i)) {
            value.choice = i;
            return {};
        }
        offered << QStringLiteral("%1 %2").arg(i).arg(caption);
    }
    return QStringLiteral("%1: no choice \"%2\"; it takes %3")
        .arg(describeParam(entry), text, offered.join(QStringLiteral(", ")));
}

QString checkAddress(const ParamEntry& entry, const QString& text, ParamValue& value)
{
    const bool mask = entry.offset == layout::SubnetMask;
    if (!CheckNetAddress(text, mask))
        return QStringLiteral("%1: \"%2\" is not a valid address; it takes four whole numbers "
                              "0-%3 joined by dots")
            .arg(describeParam(entry), text, mask ? QStringLiteral("255") : QStringLiteral("254"));
    value.text = text;
    return {};
}

QString checkBool(const QString& name, const QString& text, bool& on)
{
    if (text == QLatin1String("1") || text == QLatin1String("true"))
        on = true;
    else if (text == QLatin1String("0") || text == QLatin1String("false"))
        on = false;
    else
        return QStringLiteral("%1: \"%2\" is not a switch; it takes 0 or 1").arg(name, text);
    return {};
}

QString checkTitle(const QString& name, const QString& text)
{
    if (cp936::decode(cp936::encode(text)) != text)
        return QStringLiteral("%1: \"%2\" holds characters that code page 936 cannot store")
            .arg(name, text);
    const int bytes = cp936::byteCount(text);
    if (bytes > layout::TitleRoom)
        return QStringLiteral("%1: \"%2\" takes %3 bytes; a title holds at most %4 bytes "
                              "(12 Chinese or 24 ASCII characters)")
            .arg(name, text)
            .arg(bytes)
            .arg(layout::TitleRoom);
    return {};
}

QString checkFont(const QString& name, const QString& text, int room)
{
    if (installedFaceName(text).isEmpty())
        return QStringLiteral("%1: no installed font draws \"%2\"").arg(name, text);
    const int bytes = cp936::byteCount(text);
    if (bytes > room)
        return QStringLiteral("%1: \"%2\" takes %3 bytes; the image holds at most %4")
            .arg(name, text)
            .arg(bytes)
            .arg(room);
    return {};
}

// What the title fields take on the page: they are locked while the default
// boot screen is in use and in picture style.
QString titlesLocked(const BootScreenModel& boot, const QString& name)
{
    if (boot.styleIndex() == 1)
        return QStringLiteral("%1: the boot screen is a picture, its titles cannot be set")
            .arg(name);
    if (boot.useDefaultScreen())
        return QStringLiteral("%1: the default boot screen is in use and keeps its titles; "
                              "add --set %2=0")
            .arg(name, UseDefaultAlias);
    return {};
}

QString invalidAddress(const ParamValues& values)
{
    for (const char* name : {"IPAddress", "SubnetMask", "Gateway"}) {
        const ParamEntry& entry = *findParam(QString::fromLatin1(name));
        const QString& text = values[paramIndex(entry)].text;
        if (!CheckNetAddress(text, entry.offset == layout::SubnetMask))
            return QStringLiteral("%1 \"%2\"").arg(QString::fromLatin1(name), text);
    }
    return {};
}

} // namespace

const QStringList& screenSettingNames()
{
    static const QStringList names{MainTitleKey,     SubTitleKey,     MainTitleFontKey,
                                   SubTitleFontKey,  DefaultTitleKey, UseDefaultAlias,
                                   NotEnableParamKey};
    return names;
}

QString checkParamValue(const ParamEntry& entry, const QString& text, ParamValue& value)
{
    switch (entry.kind) {
    case ControlKind::Numeric:
        return checkNumber(entry, text, value);
    case ControlKind::Choice:
        return checkChoice(entry, text, value);
    case ControlKind::Address:
        return checkAddress(entry, text, value);
    }
    return {};
}

BuildResult buildImage(const BuildRequest& request, const IniFile& settings,
                       THMK725ConfigData& config)
{
    BuildResult result;
    if (configNameFromPath(request.output).isEmpty()) {
        // The window would leave the header unwritten, and a fresh image
        // would then carry neither product tag nor IncludeParam.
        result.error = QStringLiteral("%1: the file name gives no configuration name (the text "
                                      "before its first dot); name the file like machine1.hkf")
                           .arg(request.output);
        return result;
    }

    ParamValues values = formValues();
    BootScreenModel boot;
    const SettingsLoad load = LoadSettings(settings, !request.last, boot, values,
                                           [&](const QString& m) { result.warnings << m; });
    if (!load.error.ok()) {
        result.error = load.error.error;
        return result;
    }

    // The switches first, as a user unchecks a box before typing into the
    // fields it unlocks; then fonts and titles; the parameters last.
    bool paramsSet = false;
    for (int pass = 0; pass < 3; ++pass) {
        for (const auto& [name, text] : request.sets) {
            const bool isSwitch =
                isDefaultScreenSwitch(name) || name == QLatin1String(NotEnableParamKey);
            const ParamEntry* entry = findParam(name);
            const int wanted = isSwitch ? 0 : (entry ? 2 : 1);
            if (!entry && !screenSettingNames().contains(name)) {
                result.error = QStringLiteral("%1: no parameter or boot-screen setting has this "
                                              "name (names are spelled as in the settings file)")
                                   .arg(name);
                return result;
            }
            if (wanted != pass)
                continue;
            if (isSwitch) {
                bool on = false;
                result.error = checkBool(name, text, on);
                if (!result.ok())
                    return result;
                if (name == QLatin1String(NotEnableParamKey)) {
                    boot.setNotEnableParam(on);
                } else if (on != boot.useDefaultScreen()) {
                    if (!boot.useDefaultEnabled()) {
                        result.error = QStringLiteral("%1: the boot screen is a picture, which "
                                                      "never uses the default screen")
                                           .arg(name);
                        return result;
                    }
                    boot.setUseDefaultScreen(on);
                }
            } else if (name == MainTitleKey || name == SubTitleKey) {
                result.error = titlesLocked(boot, name);
                if (result.ok())
                    result.error = checkTitle(name, text);
                if (!result.ok())
                    return result;
                if (name == MainTitleKey)
                    boot.setMainTitle(text);
                else
                    boot.setSubTitle(text);
            } else if (name == QLatin1String(MainTitleFontKey) ||
                       name == QLatin1String(SubTitleFontKey)) {
                const bool main = name == QLatin1String(MainTitleFontKey);
                result.error =
                    checkFont(name, text, main ? layout::Logo1FontRoom : layout::Logo2FontRoom);
                if (!result.ok())
                    return result;
                // The user's choice in the font list, with its reaction.
                if (main) {
                    boot.setMainFontList(text);
                    boot.cbFontMainChange();
                } else {
                    boot.setSubFontList(text);
                    boot.cbFontSubChange();
                }
            } else {
                ParamValue& value = values[paramIndex(*entry)];
                result.error = checkParamValue(*entry, text, value);
                if (!result.ok())
                    return result;
                paramsSet = true;
            }
        }
    }

    if (!request.picture.isEmpty()) {
        boot.setStyleIndex(1);
        const PictureResult picture = boot.LoadLogoPicture(request.picture);
        if (picture.outcome == PictureResult::Unreadable) {
            result.error = picture.error;
            return result;
        }
        if (picture.outcome == PictureResult::WrongSize) {
            result.error = QStringLiteral("%1: %2").arg(request.picture, WrongSizeMessage);
            return result;
        }
    }

    if (paramsSet && boot.notEnableParam())
        result.warnings << QStringLiteral("%1 is on: the image carries the boot screen only, the "
                                          "parameters given are not written")
                               .arg(QLatin1String(NotEnableParamKey));

    if (ExportConfig(request.output, values, boot, config) == ExportResult::RefusedNetAddress) {
        result.error =
            QStringLiteral("%1 (%2)").arg(NetAddressInvalidMessage, invalidAddress(values));
        return result;
    }
    return result;
}

} // namespace hmk::tool
