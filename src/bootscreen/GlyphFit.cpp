#include "GlyphFit.h"

#include "BootScreenModel.h"
#include "GlyphEncoder.h"
#include "image/ImageLayout.h"
#include "params/Pages.h"

#include <QPainter>
#include <QStringList>

namespace hmk {

namespace {

const QString MainTitleName = QString::fromUtf8(MainTitleLabel);
const QString SubTitleName = QString::fromUtf8(SubTitleLabel);
// %1 the characters, joined by "、"; %2 the columns of their cell.
const QString ColumnsCut = QStringLiteral("字符 %1 超出 %2 列");
const QString RowsCut = QStringLiteral("字符 %1 超出 16 行");
const QString TitleCut = QStringLiteral("%1：%2");
const QString CutsEnd = QStringLiteral("%1，设备上会被截断");

// The character is drawn as in the cell, with room on every side to see
// what the cell would lose.
constexpr int Margin = GlyphBuffers::CellSize;
constexpr int CanvasWidth = 4 * GlyphBuffers::CellSize;
constexpr int CanvasHeight = 3 * GlyphBuffers::CellSize;

QString joined(const QString& characters)
{
    QStringList list;
    for (const QChar ch : characters)
        list << QString(ch);
    return list.join(QStringLiteral("、"));
}

QString describe(const QString& title, const TitleCuts& cuts)
{
    QStringList parts;
    if (!cuts.narrow.isEmpty())
        parts << ColumnsCut.arg(joined(cuts.narrow)).arg(8);
    if (!cuts.wide.isEmpty())
        parts << ColumnsCut.arg(joined(cuts.wide)).arg(16);
    if (!cuts.rows.isEmpty())
        parts << RowsCut.arg(joined(cuts.rows));
    return TitleCut.arg(title, parts.join(QStringLiteral("，")));
}

} // namespace

TitleCuts titleCuts(const QString& title, const QFont& font)
{
    TitleCuts cuts;
    QString seen;
    QImage canvas(CanvasWidth, CanvasHeight, QImage::Format_RGB32);
    for (const QChar ch : TruncateTitle(title, layout::TitleRoom)) {
        if (seen.contains(ch))
            continue;
        seen += ch;
        canvas.fill(Qt::white);
        {
            QPainter painter(&canvas);
            drawGlyph(painter, QPoint(Margin, Margin), ch, font);
        }
        const bool narrow = ch.unicode() < 128;
        const int columns = narrow ? 8 : 16;
        bool beside = false;
        bool aboveOrBelow = false;
        for (int y = 0; y < CanvasHeight; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
            for (int x = 0; x < CanvasWidth; ++x) {
                if (!isInk(line[x]))
                    continue;
                if (x < Margin || x >= Margin + columns)
                    beside = true;
                else if (y < Margin || y >= Margin + GlyphBuffers::CellSize)
                    aboveOrBelow = true;
            }
        }
        if (beside)
            (narrow ? cuts.narrow : cuts.wide) += ch;
        else if (aboveOrBelow)
            cuts.rows += ch;
    }
    return cuts;
}

QString fitWarning(const TitleCuts& main, const TitleCuts& sub)
{
    QStringList titles;
    if (!main.isEmpty())
        titles << describe(MainTitleName, main);
    if (!sub.isEmpty())
        titles << describe(SubTitleName, sub);
    if (titles.isEmpty())
        return {};
    return CutsEnd.arg(titles.join(QStringLiteral("；")));
}

} // namespace hmk
