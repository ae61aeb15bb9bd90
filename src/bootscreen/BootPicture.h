#pragma once

// The picture boot screen: a 192 x 32 picture whose pure black pixels are
// ink, cut into the four bands of the screen bitmap (768 bytes: byte c of
// band b is column c, bit r is row 8*b + r).

#include "GlyphEncoder.h"
#include "image/CfgHMK725.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace hmk {

// A picture read from a file, flattened onto white so that every format
// (monochrome or colour bitmaps, PNG with transparency...) meets the same
// ink rule; or the reason it could not be read.
struct PictureFile
{
    QImage image; // Format_RGB32; null when error is set
    QString error;
};
PictureFile readPictureFile(const QString& fileName);

// How a picture becomes the stored screen. The defaults are the plain
// import: pure black pixels are ink, and a picture of another size than
// 192 x 32 is refused.
struct PictureOptions
{
    static constexpr int DefaultThreshold = 128;
    static constexpr int MinThreshold = 1;
    static constexpr int MaxThreshold = 254;

    enum class InkRule
    {
        PureBlack, // red, green and blue all 0
        Threshold, // brightness (qGray) below `threshold`
    };
    InkRule ink = InkRule::PureBlack;
    int threshold = DefaultThreshold;
    bool invert = false; // ink and background exchanged after the rule
    bool fit = false;    // another size is scaled to fit instead of refused

    bool isDefault() const { return *this == PictureOptions{}; }
    bool operator==(const PictureOptions&) const = default;
};

bool isPictureInk(QRgb pixel, const PictureOptions& options);

// The picture as it is stored, 192 x 32: with the default options the
// picture itself, otherwise pure black ink on white. A picture of another
// size is scaled to fit when `options.fit` is on, keeping its aspect ratio
// (ink decided on its own pixels, a screen pixel is ink when ink covers at
// least half of it) and centred on background; without it, or when the
// picture is empty, the result is null: the size is refused.
QImage storedPicture(const QImage& picture, const PictureOptions& options);

// Cuts `bitmap` into cells read one by one through the glyph buffers, row
// by row, left to right. A 192 x 32 picture in 16 x 16 cells leaves band 0
// and band 2 in FFontsUp, band 1 and band 3 in FFontsLow.
void SliceLogoPicture(GlyphBuffers& glyphs, const QImage& bitmap, int CellWidth, int CellHeight);

// Slices a 192 x 32 picture and puts the bands in order: the 768 bytes of
// the screen bitmap.
QByteArray pictureBands(GlyphBuffers& glyphs, const QImage& picture);

// The holder's picture in the LCD colours, painted from the bands: ink
// white, background LCD blue.
void ConvertPenColor(QImage& holder, const QByteArray& bands);

// Writes the 768 bytes into the screen bitmap of the image.
void WriteLogoPicture(THMK725ConfigData& config, const QByteArray& bands);

} // namespace hmk
