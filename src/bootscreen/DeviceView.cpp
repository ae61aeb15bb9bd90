#include "DeviceView.h"

#include "image/ImageLayout.h"

#include <algorithm>

namespace hmk {

namespace {

// The grid's share of the other colour, in fifths.
QRgb gridColour(const QColor& colour, const QColor& toward)
{
    const auto mix = [](int a, int b) { return (4 * a + b) / 5; };
    return qRgb(mix(colour.red(), toward.red()), mix(colour.green(), toward.green()),
                mix(colour.blue(), toward.blue()));
}

} // namespace

bool devicePixel(const QByteArray& bands, int x, int y)
{
    const auto column = quint8(bands[(y / layout::BandRows) * layout::BandSize + x]);
    return column & (1u << (y % layout::BandRows));
}

QImage deviceView(const QByteArray& bands, const DeviceViewStyle& style)
{
    const int scale = std::max(1, style.scale);
    enum Index : uint
    {
        Background,
        Ink,
        BackgroundGrid,
        InkGrid
    };
    QImage view(layout::ScreenWidth * scale, layout::ScreenHeight * scale,
                style.grid ? QImage::Format_Indexed8 : QImage::Format_Mono);
    QList<QRgb> colours{style.background.rgb(), style.ink.rgb()};
    if (style.grid)
        colours << gridColour(style.background, style.ink)
                << gridColour(style.ink, style.background);
    view.setColorTable(colours);
    view.fill(Background);
    // One line of device pixels is drawn into the first line of its row,
    // whose other lines are copies (the grid line aside).
    QList<uchar> line(view.width());
    for (int y = 0; y < layout::ScreenHeight; ++y) {
        for (int x = 0; x < layout::ScreenWidth; ++x) {
            const uchar colour = devicePixel(bands, x, y) ? Ink : Background;
            std::fill_n(line.begin() + x * scale, scale, colour);
            if (style.grid)
                line[x * scale] = colour + (BackgroundGrid - Background);
        }
        for (int r = 0; r < scale; ++r) {
            uchar* out = view.scanLine(y * scale + r);
            const bool gridRow = style.grid && r == 0;
            if (!style.grid) {
                // Format_Mono: eight pixels a byte, the first in the top bit.
                for (int x = 0; x < view.width(); ++x)
                    if (line[x] == Ink)
                        out[x >> 3] |= uchar(0x80 >> (x & 7));
            } else {
                for (int x = 0; x < view.width(); ++x)
                    out[x] = gridRow && line[x] < BackgroundGrid
                                 ? uchar(line[x] + (BackgroundGrid - Background))
                                 : line[x];
            }
        }
    }
    return view;
}

int deviceViewScale(QSize room)
{
    return std::max(
        1, std::min(room.width() / layout::ScreenWidth, room.height() / layout::ScreenHeight));
}

} // namespace hmk
