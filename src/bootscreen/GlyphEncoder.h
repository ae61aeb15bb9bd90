#pragma once

// Turning title characters and picture cells into device glyph columns. A
// glyph column byte holds eight vertically adjacent pixels of one column,
// bit r = row r, a set bit = ink; a pixel is ink only when it is pure black.

#include "image/CfgHMK725.h"

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

namespace hmk {

// The scratch shared by the title encoder and the picture slicer: the
// 16 x 16 cell (top-left of the 32 x 32 imgFont) and the column buffers.
// Column c of what is being read has rows 0-7 in FFontsUp[c] and rows
// 8-15 in FFontsLow[c].
struct GlyphBuffers
{
    static constexpr int Capacity = 384;
    static constexpr int CellSize = 16;

    QByteArray FFontsUp = QByteArray(Capacity, '\0');
    QByteArray FFontsLow = QByteArray(Capacity, '\0');
    int FFontsCount = 0;
    QImage imgFont = QImage(32, 32, QImage::Format_RGB32);

    void reset();

    // Appends the cell's columns 0-15 when Width is above 8, else 0-7.
    // Columns beyond the buffers' capacity are dropped.
    void ReadGlyphColumns(int Width);

    // Draws Ch black on white into the cell with its top-left corner at
    // (0, 0) and appends 8 columns for a code below 128, else 16.
    void RenderLogoChar(QChar Ch, const QFont& font);

    // Appends the columns RenderLogoChar appends for Ch, taken from the
    // glyph cache; the cell is drawn only the first time the character is
    // met in that font. imgFont is left as it was.
    void AppendLogoChar(QChar Ch, const QFont& font);
};

// The columns of every character drawn so far, per font. Drawing a glyph
// costs far more than everything else a save does, and a title repeats its
// padding blanks and hkftool builds image after image in the same faces, so
// each character is drawn once per face for the whole run. A font is known
// by QFont::key(); the installed fonts do not change while the program runs.
namespace glyphcache {
// Forgets every glyph (the fonts behind a key changed, or a test starts
// afresh).
void clear();
// How many glyphs have been drawn into the cache since the last clear.
int drawnCount();
} // namespace glyphcache

bool isInk(QRgb pixel);

// Draws Ch black with the top-left corner of its 16-pixel line at `origin`,
// as a title character is drawn into the cell.
void drawGlyph(QPainter& painter, QPoint origin, QChar Ch, const QFont& font);

// The 384 bytes one title contributes to the screen (its upper band, then
// its lower band): the title cut to 24 bytes, centred, drawn character by
// character and read back through the glyph buffers.
QByteArray titleStrip(GlyphBuffers& glyphs, const QString& Title, const QFont& font);

// Draws one title into the buffers and writes its strip (bands 0-1 for the
// main title, 2-3 for the subtitle) and its text and font name beside it.
// `FontName` is what is stored; `font` is what draws it.
void EncodeLogoTitle(THMK725ConfigData& config, GlyphBuffers& glyphs, const QString& Title,
                     const QString& FontName, const QFont& font, bool IsMain);

} // namespace hmk
