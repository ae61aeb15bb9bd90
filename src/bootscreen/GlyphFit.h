#pragma once

// Which title characters the device shows cut: the continuous preview draws
// a character whole, but the saved glyph keeps only the 8 or 16 columns of
// its width class and the 16 rows of the cell, so ink a font draws beyond
// them never reaches the screen.

#include <QFont>
#include <QString>

namespace hmk {

struct TitleCuts
{
    // Each character once, in the order of the title.
    QString narrow; // 8-column characters with ink left or right of their cell
    QString wide;   // the same for 16-column characters
    QString rows;   // characters whose columns fit, with ink above or below the 16 rows
    bool isEmpty() const { return narrow.isEmpty() && wide.isEmpty() && rows.isEmpty(); }
    bool operator==(const TitleCuts&) const = default;
};

// The characters of `title` (as a save encodes it: cut to 24 bytes) that
// `font` draws beyond their cell.
TitleCuts titleCuts(const QString& title, const QFont& font);

// The one line the boot-screen page shows under the view, e.g.
// "主标题：字符 W、M 超出 8 列，设备上会被截断"; empty when nothing is cut.
QString fitWarning(const TitleCuts& main, const TitleCuts& sub);

} // namespace hmk
