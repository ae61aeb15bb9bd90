#pragma once

// Comparing documents: the 47 parameter values as the controls hold them and
// the boot-screen page (style, default-screen switch, both titles with their
// fonts, the picture). The other document comes from the settings file
// (factory or last saved, as a fresh window would load it) or from a .hkf
// file (as opening it would put it in). The differences come back in a fixed
// order, boot-screen items first as on the overview, then the parameters in
// catalogue order, each value formatted as its page shows it.

#include "IniFile.h"
#include "ParamValues.h"
#include "SettingsLoader.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace hmk {

class BootScreenModel;

// The boot-screen page's part of a document.
struct BootScreenState
{
    int style = 0; // rgStyleScreen: 0 titles, 1 picture, -1 none
    bool useDefaultScreen = true;
    QString mainTitle;
    QString mainFont; // the font list's face, "" when it shows none
    QString subTitle;
    QString subFont;
    QByteArray picture; // the 768 picture bytes, bands 0-3
};

struct Document
{
    ParamValues params;
    BootScreenState boot;
};

enum class BootItem
{
    Style,
    UseDefaultScreen,
    MainTitle,
    MainFont,
    SubTitle,
    SubFont,
    Picture,
};
inline constexpr int BootItemCount = 7;

struct BootItemInfo
{
    BootItem item;
    const char* name;  // as hkftool names it: "MainTitle", "MainTitleFont"
    const char* label; // as the page names it: "主标题"
};
const std::array<BootItemInfo, BootItemCount>& bootItems();

BootScreenState bootStateOf(const BootScreenModel& boot);
Document documentOf(const ParamValues& values, const BootScreenModel& boot);

// Puts one item of `state` into `boot` through the setter the page uses, so
// that its reactions run: the style and the switch change the titles' locks
// (switching the default screen on puts the default titles in), a font goes
// into its list and its title field, a picture is painted in the LCD colours.
void applyBootItem(BootScreenModel& boot, BootItem item, const BootScreenState& state);
// All items, in the order a user would set them: style, switch, titles and
// fonts, picture.
void applyBootState(BootScreenModel& boot, const BootScreenState& state);

// Where the other document of a comparison comes from.
struct OtherDocument
{
    std::optional<Document> document; // nothing: there is nothing to compare
    bool paramsIncluded = true;       // false: compare the boot screen only
    QString note;                     // said to the user with the differences
    QString error;                    // the message to show instead
};

// What LoadSettings puts into a fresh window (form values and a fresh boot
// screen, the setters' reactions included): the factory sections, or the
// last-saved ones. Without a settings file, the fresh window itself.
// `showMessage` receives the loader's own messages (a missing picture).
OtherDocument settingsDocument(const IniFile* ini, bool factory, const ShowMessage& showMessage);

// What opening the image would leave in a window that holds `current`: the
// boot screen restored onto it, the parameters when the image carries them.
// `image` is a whole image whose checksums have passed.
OtherDocument openedDocument(const Document& current, const quint8* image);

// The usual check of a file to open, then openedDocument. A file that
// cannot be read or fails its check gives the open path's message and no
// document.
OtherDocument fileDocument(const Document& current, const QString& path);

struct Difference
{
    const ParamEntry* param = nullptr; // nullptr: a boot-screen item
    BootItem bootItem = BootItem::Style;
    QString name;  // "PunchHeight", "MainTitle"
    QString label; // "穿孔高度", "主标题"
    QString ours;  // as the page shows it
    QString theirs;
    int pixels = 0; // the picture: number of differing pixels
};

// The differences between `ours` and `theirs`. Parameters are compared only
// when `params` is true. The picture counts only when either side shows it
// (picture style): in title style the saved screen is drawn from the titles.
QList<Difference> compareDocuments(const Document& ours, const Document& theirs,
                                   bool params = true);

// Whether two values of the parameter are the same for its control.
bool sameValue(const ParamEntry& entry, const ParamValue& a, const ParamValue& b);

// Whether a numeric value lies outside its field's limits; fields without
// limits never do.
bool outsideLimits(const ParamEntry& entry, Thousandths value);
// The limits as the field shows them, "0.20 ～ 10.00".
QString limitsText(const ParamEntry& entry);

} // namespace hmk
