#pragma once

// The boot screen as the device shows it: the 192 x 32 pixels of the 768
// screen bytes (byte c of band b is column c, bit r is row 8*b + r), each
// drawn as a square of whole pixels, optionally with a faint grid that
// shows every device pixel.

#include <QByteArray>
#include <QColor>
#include <QImage>

namespace hmk {

// Pixel (x, y) of the screen bytes.
bool devicePixel(const QByteArray& bands, int x, int y);

struct DeviceViewStyle
{
    int scale = 1;     // pixels per device pixel
    QColor ink;        // set pixels
    QColor background; // clear pixels
    bool grid = false; // a one-pixel line along the top and left edge of every device pixel
};

// The smallest scale with which the grid still leaves most of a pixel
// visible.
inline constexpr int MinGridScale = 3;

// The view of `bands` (768 bytes), (192 * scale) x (32 * scale): a
// two-colour picture, or four colours with the grid, whose lines are each
// colour moved a fifth of the way toward the other.
QImage deviceView(const QByteArray& bands, const DeviceViewStyle& style);

// The largest whole scale at which the screen fits into `room`, at least 1.
int deviceViewScale(QSize room);

} // namespace hmk
