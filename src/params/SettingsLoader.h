#pragma once

// Reading the settings file into the boot-screen page and the parameter
// values: either the factory sections (stem + "Def") or the sections of the
// last saved configuration (the bare stem). The file is only ever read.

#include "IniFile.h"
#include "ParamValues.h"
#include "image/CfgHMK725.h"

#include <QHash>
#include <QString>
#include <functional>

namespace hmk {

class BootScreenModel;

// Shown when the picture boot screen names a file that is no longer there.
inline const QString MissingPictureMessage = QStringLiteral(
    "上次保存的界面图片文件不存在，或者路径已经修改，建议使用直接打开文件的方式打开！");

// The settings keys of the two boot-screen titles; with "Hint" appended they
// name the titles' hints, and they key those hints in LoadHints' result.
inline constexpr const char* MainTitleKey = "MainTitle";
inline constexpr const char* SubTitleKey = "SubTitle";

// The other boot-screen keys of the Logo sections. ChangePenColor and
// NotEnableParam are read from the factory section only.
inline constexpr const char* MainTitleFontKey = "MainTitleFont";
inline constexpr const char* SubTitleFontKey = "SubTitleFont";
inline constexpr const char* DefaultTitleKey = "DefaultTitle"; // the default-screen switch
inline constexpr const char* UsePicKey = "UsePic";
inline constexpr const char* PicFileNameKey = "PicFileName";
inline constexpr const char* ChangePenColorKey = "ChangePenColor";
inline constexpr const char* NotEnableParamKey = "NotEnableParam";

struct SettingsLoad
{
    bool paramsRead = false; // false when cbNotEnableParam kept them out, or on error
    IoStatus error;          // the boot picture exists but could not be read
};

using ShowMessage = std::function<void(const QString&)>;

// Puts the boot-screen settings into `boot` (running the reactions its
// setters run) and, unless the factory "NotEnableParam" switch is on, every
// parameter into `values`. A key that is missing or does not read gives the
// parameter's loader default. A boot picture that exists but cannot be read
// ends loading before the parameters, with the error in the result.
SettingsLoad LoadSettings(const IniFile& ini, bool factory, BootScreenModel& boot,
                          ParamValues& values, const ShowMessage& showMessage);

// The hint texts of the controls, keyed by the hint key's stem: "MainTitle",
// "SubTitle" and every parameter with a hint, all from the factory sections.
QHash<QString, QString> LoadHints(const IniFile& ini);

} // namespace hmk
