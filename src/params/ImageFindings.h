#pragma once

// What an image holds that the window or the controller would not take as
// it is: values the window shows outside their field's limits, choice
// indices that select nothing or lie beyond the last choice, address parts
// the save check refuses, text lengths beyond their rooms, text bytes that
// are not code page 936, switches other than 0 or 1, reserved bytes that are
// not zero. The checksums are not looked at here.

#include <QList>
#include <QString>

namespace hmk {

struct ImageFinding
{
    QString name;    // field name: "PunchHeight", "Logo1Len", "reserved 0x020-0x1FD"
    QString label;   // parameters: their label without the colon; else empty
    QString value;   // what the field holds, as the window shows it
    QString problem; // in English, for hkftool: "outside its range 0.20 to 10.00 mm"
};

// `image` is a whole 4096-byte image. The parameters are looked at only
// when the image carries them (IncludeParam not 0), as the window shows
// them only then.
QList<ImageFinding> imageFindings(const quint8* image);

} // namespace hmk
