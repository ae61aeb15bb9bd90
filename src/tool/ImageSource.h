#pragma once

// Where `hkftool build --from` starts: a configuration image, read from a
// .hkf file or made back from the JSON that `hkftool dump --json` writes.
// Both come out as the 4096 bytes of an image, so that both go on the same
// way: into a fresh window's boot-screen page and parameter values as
// opening the file puts them in (FromImage below).

#include "bootscreen/BootScreenModel.h"
#include "image/CfgHMK725.h"
#include "params/ParamValues.h"

#include <QByteArray>
#include <QString>

namespace hmk::tool {

struct SourceImage
{
    QByteArray bytes; // 4096 bytes; empty when error is set
    QString error;    // names the file and what is wrong with it
    bool ok() const { return error.isEmpty(); }
};

// A .hkf file whose checksums match, or a file whose first non-blank
// character is "{", read as the JSON of dump --json. The JSON gives values,
// not bytes: the configuration name comes from the file built, the checksums
// are computed, and the bytes of a text's room beyond its length, which no
// value holds, are zero.
SourceImage readSourceImage(const QString& path);

// The JSON of dump --json turned back into an image; `error` is set (and the
// result empty) when a field is missing, unknown or out of its range.
QByteArray imageFromDumpJson(const QByteArray& json, QString& error);

// Puts the source into a fresh window's state: the boot-screen page through
// RestoreLogo, the parameters through RestoreParams when the image carries
// them. The font lists, which an open leaves alone while the default boot
// screen is in use, take the stored faces as well, so that the default
// titles are drawn again in the faces the image was built with. `seed`
// receives what the image object of the run that wrote the source held
// besides what a save writes: the title texts and font names (kept by a
// picture save) and the parameter fields (kept by a boot-screen-only save).
void startFromImage(const QByteArray& image, BootScreenModel& boot, ParamValues& values,
                    THMK725ConfigData& seed);

} // namespace hmk::tool
