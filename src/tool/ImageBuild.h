#pragma once

// hkftool build: an image made with the same calls the window makes. Start
// from the values the controls hold when the window is created and a fresh
// boot-screen model, load the settings file as the window's read commands do
// (reactions included), make the edits a user would make on the page, then
// ExportConfig. Values from the settings file go in unchecked, as the window
// takes them; values given on the command line are checked against their
// parameter first, which typing into the window does not do.

#include "bootscreen/BootPicture.h"
#include "image/CfgHMK725.h"
#include "params/IniFile.h"
#include "params/ParamValues.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace hmk {
class BootScreenModel;
}

namespace hmk::tool {

struct BuildRequest
{
    QString output;                      // its file name gives the configuration name
    bool last = false;                   // last-saved sections instead of the factory ones
    QList<QPair<QString, QString>> sets; // NAME=VALUE, in the order given
    QString picture;                     // a 192 x 32 bitmap: switches to picture style
    PictureOptions pictureOptions;       // how it is imported, as in the window's dialog
    // A whole image to start from instead of the settings file (build
    // --from): its values as opening it puts them into a fresh window.
    QByteArray from;
};

struct BuildResult
{
    QString error;        // empty when the image was built
    QStringList warnings; // notes that do not stop the build
    bool ok() const { return error.isEmpty(); }
};

// The boot-screen settings --set accepts besides the parameter names.
const QStringList& screenSettingNames();

// Checks one --set value. Parameters: a number within the field's limits
// and with no more decimals than it shows, a choice by index or caption, a
// valid dotted quad. On success `value` receives what the control then
// holds; otherwise the message names the parameter and what it takes.
QString checkParamValue(const ParamEntry& entry, const QString& text, ParamValue& value);

// Builds the image into `config` (a fresh object for a fresh window).
// `settings` is not read when the request starts from an image.
BuildResult buildImage(const BuildRequest& request, const IniFile& settings,
                       THMK725ConfigData& config);

} // namespace hmk::tool
