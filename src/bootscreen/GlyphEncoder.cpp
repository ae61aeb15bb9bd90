#include "GlyphEncoder.h"

#include "BootScreenModel.h"
#include "FontList.h"
#include "image/Codepage.h"

#include <QPainter>

namespace hmk {

namespace {

constexpr int NarrowWidth = 8;
constexpr int WideWidth = 16;

} // namespace

bool isInk(QRgb pixel)
{
    return (pixel & 0xFFFFFF) == 0;
}

void GlyphBuffers::reset()
{
    FFontsUp.fill('\0');
    FFontsLow.fill('\0');
    FFontsCount = 0;
}

void GlyphBuffers::ReadGlyphColumns(int Width)
{
    const int columns = Width > NarrowWidth ? WideWidth : NarrowWidth;
    for (int x = 0; x < columns && FFontsCount < Capacity; ++x) {
        quint8 upper = 0;
        quint8 lower = 0;
        for (int j = 0; j < 8; ++j) {
            if (isInk(imgFont.pixel(x, j)))
                upper |= quint8(1u << j);
            if (isInk(imgFont.pixel(x, j + 8)))
                lower |= quint8(1u << j);
        }
        FFontsUp[FFontsCount] = char(upper);
        FFontsLow[FFontsCount] = char(lower);
        ++FFontsCount;
    }
}

void drawGlyph(QPainter& painter, QPoint origin, QChar Ch, const QFont& font)
{
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(origin.x(), origin.y() + titleBaseline(font), QString(Ch));
}

void GlyphBuffers::RenderLogoChar(QChar Ch, const QFont& font)
{
    {
        QPainter painter(&imgFont);
        painter.fillRect(0, 0, CellSize, CellSize, Qt::white);
        drawGlyph(painter, QPoint(0, 0), Ch, font);
    }
    ReadGlyphColumns(Ch.unicode() < 128 ? NarrowWidth : WideWidth);
}

QByteArray titleStrip(GlyphBuffers& glyphs, const QString& Title, const QFont& font)
{
    const QString padded = CenterTitle(TruncateTitle(Title, layout::TitleRoom));
    glyphs.FFontsCount = 0;
    for (const QChar ch : padded) {
        // The padded title takes at least 8 columns per byte, so it always
        // reaches the screen's right edge; what lies beyond is not kept.
        if (glyphs.FFontsCount >= layout::ScreenWidth)
            break;
        glyphs.RenderLogoChar(ch, font);
    }
    return glyphs.FFontsUp.first(layout::BandSize) + glyphs.FFontsLow.first(layout::BandSize);
}

void EncodeLogoTitle(THMK725ConfigData& config, GlyphBuffers& glyphs, const QString& Title,
                     const QString& FontName, const QFont& font, bool IsMain)
{
    const QString title = TruncateTitle(Title, layout::TitleRoom);
    const QByteArray strip = titleStrip(glyphs, title, font);
    config.ExportLogoFonts(strip, IsMain ? layout::MainTitleStrip : layout::SubTitleStrip,
                           layout::TitleStripSize);

    const QByteArray text = cp936::encode(title);
    const QByteArray face =
        cp936::encodeTruncated(FontName, IsMain ? layout::Logo1FontRoom : layout::Logo2FontRoom);
    if (IsMain) {
        config.setLogo1Len(quint32(text.size()));
        config.ExportLogoDesc(text, layout::Logo1Desc, int(text.size()));
        config.setLogo1FontLen(quint32(face.size()));
        config.ExportLogoDesc(face, layout::Logo1FontName, int(face.size()));
    } else {
        config.setLogo2Len(quint32(text.size()));
        config.ExportLogoDesc(text, layout::Logo2Desc, int(text.size()));
        config.setLogo2FontLen(quint32(face.size()));
        config.ExportLogoDesc(face, layout::Logo2FontName, int(face.size()));
    }
}

} // namespace hmk
