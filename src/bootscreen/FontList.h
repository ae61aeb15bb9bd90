#pragma once

// The installed fonts as the boot-screen page's font lists see them. Images
// and settings files are mostly made on Chinese Windows machines and name
// Windows faces ("宋体", "SimSun", "黑体"...). Where such a face is missing but
// a free CJK font of the same style is installed, the name still counts as
// installed: it is kept as given, because it is what the image stores, and
// the glyphs are drawn with the stand-in.

#include <QFont>
#include <QString>

namespace hmk {

// The face name a font list answers for `faceName`: the installed family's
// own spelling, the Windows name as given when a stand-in draws it, or ""
// when nothing installed can draw it.
QString installedFaceName(const QString& faceName);

// The installed family that draws `faceName`: the family itself, its
// stand-in, or "" when there is neither.
QString drawingFamily(const QString& faceName);

// The font the title glyphs and the preview are drawn with: 16 pixels high
// (so the screen resolution plays no part) and without antialiasing, so
// every pixel is either ink or background. An empty or unknown face leaves
// the family to the system's default.
QFont titleFont(const QString& faceName);

// The row on which text drawn with its top-left corner at the top of a
// 16-pixel cell has its baseline: the font's ascent, raised when the
// descent would otherwise leave the cell, so no glyph is cut off below.
int titleBaseline(const QFont& font);

} // namespace hmk
