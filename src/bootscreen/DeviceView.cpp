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
    for (int y = 0; y < view.height(); ++y) {
        const bool gridRow = style.grid && y % scale == 0;
        for (int x = 0; x < view.width(); ++x) {
            const bool ink = devicePixel(bands, x / scale, y / scale);
            const bool grid = gridRow || (style.grid && x % scale == 0);
            const uint index = grid ? (ink ? InkGrid : BackgroundGrid) : (ink ? Ink : Background);
            if (index != Background)
                view.setPixel(x, y, index);
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
