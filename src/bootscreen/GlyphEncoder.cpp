#include "GlyphEncoder.h"

#include "BootScreenModel.h"
#include "FontList.h"
#include "image/Codepage.h"

#include <QHash>
#include <QMutex>
#include <QPainter>
#include <algorithm>
#include <array>

namespace hmk {

namespace {

constexpr int NarrowWidth = 8;
constexpr int WideWidth = 16;

// A character's columns as RenderLogoChar appends them: 8 or 16.
struct CachedGlyph
{
    std::array<char, WideWidth> up{};
    std::array<char, WideWidth> low{};
    int count = 0;
};

struct GlyphCache
{
    QMutex mutex;
    QHash<QString, QHash<char16_t, CachedGlyph>> faces; // by QFont::key()
    int drawn = 0;
};

GlyphCache& cache()
{
    static GlyphCache instance;
    return instance;
}

CachedGlyph drawGlyph(QChar ch, const QFont& font)
{
    GlyphBuffers scratch;
    scratch.RenderLogoChar(ch, font);
    CachedGlyph glyph;
    glyph.count = scratch.FFontsCount;
    std::copy_n(scratch.FFontsUp.constData(), glyph.count, glyph.up.begin());
    std::copy_n(scratch.FFontsLow.constData(), glyph.count, glyph.low.begin());
    return glyph;
}

} // namespace

namespace glyphcache {

void clear()
{
    GlyphCache& c = cache();
    const QMutexLocker lock(&c.mutex);
    c.faces.clear();
    c.drawn = 0;
}

int drawnCount()
{
    GlyphCache& c = cache();
    const QMutexLocker lock(&c.mutex);
    return c.drawn;
}

} // namespace glyphcache

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

namespace {

// The columns of Ch in the face's cache, drawn into it the first time.
void appendCached(GlyphBuffers& glyphs, QChar Ch, const QFont& font,
                  QHash<char16_t, CachedGlyph>& face, int& drawn)
{
    auto it = face.constFind(Ch.unicode());
    if (it == face.constEnd()) {
        it = face.insert(Ch.unicode(), drawGlyph(Ch, font));
        ++drawn;
    }
    for (int x = 0; x < it->count && glyphs.FFontsCount < GlyphBuffers::Capacity; ++x) {
        glyphs.FFontsUp[glyphs.FFontsCount] = it->up[x];
        glyphs.FFontsLow[glyphs.FFontsCount] = it->low[x];
        ++glyphs.FFontsCount;
    }
}

} // namespace

void GlyphBuffers::AppendLogoChar(QChar Ch, const QFont& font)
{
    GlyphCache& c = cache();
    const QMutexLocker lock(&c.mutex);
    appendCached(*this, Ch, font, c.faces[font.key()], c.drawn);
}

QByteArray titleStrip(GlyphBuffers& glyphs, const QString& Title, const QFont& font)
{
    const QString padded = CenterTitle(TruncateTitle(Title, layout::TitleRoom));
    glyphs.FFontsCount = 0;
    {
        GlyphCache& c = cache();
        const QMutexLocker lock(&c.mutex);
        QHash<char16_t, CachedGlyph>& face = c.faces[font.key()];
        for (const QChar ch : padded) {
            // The padded title takes at least 8 columns per byte, so it
            // always reaches the screen's right edge; what lies beyond is
            // not kept.
            if (glyphs.FFontsCount >= layout::ScreenWidth)
                break;
            appendCached(glyphs, ch, font, face, c.drawn);
        }
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
