#include "SettingsLoader.h"

#include "bootscreen/BootScreenModel.h"

#include <QFileInfo>

namespace hmk {

namespace {

const QString FactorySuffix = QStringLiteral("Def");
const QString FactoryLogo = QStringLiteral("LogoDef");

QString sectionOf(const ParamEntry& entry, const QString& suffix)
{
    return QString::fromLatin1(entry.paramGroup().stem) + suffix;
}

void readParam(const IniFile& ini, const ParamEntry& entry, const QString& suffix,
               ParamValue& value)
{
    const QString section = sectionOf(entry, suffix);
    const QString key = entry.nameText();
    switch (entry.kind) {
    case ControlKind::Numeric:
        if (entry.integersOnly()) {
            const int def = static_cast<int>(entry.loaderDefault / 1000);
            value.number = Thousandths{ini.ReadInteger(section, key, def)} * 1000;
        } else {
            const double def = static_cast<double>(entry.loaderDefault) / 1000.0;
            value.number =
                thousandthsFromDouble(ini.ReadFloat(section, key, def), entry.decimals());
        }
        break;
    case ControlKind::Choice:
        value.choice =
            limitChoiceIndex(ini.ReadInteger(section, key, static_cast<int>(entry.loaderDefault)),
                             entry.choiceCount());
        break;
    case ControlKind::Address:
        value.text = ini.ReadString(section, key, QString::fromLatin1(entry.addressDefault));
        break;
    }
}

} // namespace

SettingsLoad LoadSettings(const IniFile& ini, bool factory, BootScreenModel& boot,
                          ParamValues& values, const ShowMessage& showMessage)
{
    const QString suffix = factory ? FactorySuffix : QString();
    const QString logo = QStringLiteral("Logo") + suffix;

    // The titles go in before the default-screen switch: switching it on
    // replaces the titles just read by the default ones, while a switch that
    // is already on keeps them.
    boot.setMainTitle(ini.ReadString(logo, QLatin1String(MainTitleKey), QString()));
    boot.setSubTitle(ini.ReadString(logo, QLatin1String(SubTitleKey), QString()));
    boot.setUseDefaultScreen(ini.ReadBool(logo, QLatin1String(DefaultTitleKey), true));
    boot.setStyleIndex(ini.ReadInteger(logo, QLatin1String(UsePicKey), 0));

    // These two are factory settings only, also when the last values are read.
    boot.setChangePenColor(ini.ReadBool(FactoryLogo, QLatin1String(ChangePenColorKey), true));

    boot.setMainFontList(ini.ReadString(logo, QLatin1String(MainTitleFontKey), DefaultTitleFace));
    boot.setSubFontList(ini.ReadString(logo, QLatin1String(SubTitleFontKey), DefaultTitleFace));
    // A font that is not installed leaves its list empty and the edit's font
    // as it was.
    boot.setMainTitleFont(boot.mainFontName());
    boot.setSubTitleFont(boot.subFontName());

    boot.setNotEnableParam(ini.ReadBool(FactoryLogo, QLatin1String(NotEnableParamKey), false));

    // The picture style is in force when the style choice, after its own
    // limiting, selects the picture.
    if (boot.styleIndex() == 1) {
        const QString picture = ini.ReadString(logo, QLatin1String(PicFileNameKey), QString());
        boot.setPicFileName(picture);
        const QFileInfo info(picture);
        if (!picture.isEmpty() && info.exists() && !info.isDir()) {
            const PictureResult result = boot.LoadLogoPicture(picture);
            if (result.outcome == PictureResult::Unreadable)
                return SettingsLoad{false, IoStatus{result.error}};
            if (result.outcome == PictureResult::WrongSize)
                showMessage(WrongSizeMessage);
        } else {
            showMessage(MissingPictureMessage);
        }
    }

    if (boot.notEnableParam())
        return SettingsLoad{};
    for (const ParamEntry& entry : catalogue())
        readParam(ini, entry, suffix, values[paramIndex(entry)]);
    return SettingsLoad{true, {}};
}

QHash<QString, QString> LoadHints(const IniFile& ini)
{
    QHash<QString, QString> hints;
    for (const QString& title :
         {QString::fromLatin1(MainTitleKey), QString::fromLatin1(SubTitleKey)})
        hints.insert(title, ini.ReadString(FactoryLogo, title + QStringLiteral("Hint"), QString()));
    for (const ParamEntry& entry : catalogue()) {
        if (entry.hasHint)
            hints.insert(entry.nameText(), ini.ReadString(sectionOf(entry, FactorySuffix),
                                                          entry.hintKey(), QString()));
    }
    return hints;
}

} // namespace hmk
