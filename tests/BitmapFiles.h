#pragma once

// Windows bitmaps written byte by byte, for the tests of the bitmap reader:
// depths and headers that Qt does not write, and files cut short.

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QtEndian>

#include <cstdlib>

namespace hmk::test {

inline void put16(QByteArray& b, qsizetype at, quint16 v)
{
    qToLittleEndian(v, b.data() + at);
}

inline void put32(QByteArray& b, qsizetype at, quint32 v)
{
    qToLittleEndian(v, b.data() + at);
}

// A Windows bitmap written byte by byte, white but for black pixels at
// `black`. Depth 32 or 16 (5-6-5 masks) with an info header of 40 bytes
// (masks after it) or 124 (masks in it, with an alpha mask for 32 bits);
// every alpha byte is `alpha`. A negative height stores the rows top-down.
inline QByteArray directBitmap(int bits, int infoSize, const QList<QPoint>& black, quint8 alpha = 0,
                               int height = 32)
{
    const int width = 192;
    const int rows = std::abs(height);
    const bool masks = bits == 16 || infoSize > 40;
    const int headerEnd = 14 + infoSize + (masks && infoSize == 40 ? 12 : 0);
    const int stride = (width * bits + 31) / 32 * 4;
    QByteArray b(headerEnd + stride * rows, '\0');
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, quint32(b.size()));
    put32(b, 10, quint32(headerEnd));
    put32(b, 14, quint32(infoSize));
    put32(b, 18, quint32(width));
    put32(b, 22, quint32(height));
    put16(b, 26, 1);
    put16(b, 28, quint16(bits));
    put32(b, 30, masks ? 3 : 0);
    if (masks) {
        const quint32 r = bits == 16 ? 0xF800 : 0x00FF0000;
        const quint32 g = bits == 16 ? 0x07E0 : 0x0000FF00;
        const quint32 bl = bits == 16 ? 0x001F : 0x000000FF;
        put32(b, 54, r);
        put32(b, 58, g);
        put32(b, 62, bl);
        if (infoSize > 40)
            put32(b, 66, bits == 32 ? 0xFF000000 : 0);
    }
    for (int row = 0; row < rows; ++row) {
        const int y = height > 0 ? rows - 1 - row : row;
        for (int x = 0; x < width; ++x) {
            const qsizetype at = headerEnd + qsizetype(stride) * row + x * bits / 8;
            const bool ink = black.contains(QPoint(x, y));
            if (bits == 16)
                put16(b, at, ink ? 0 : 0xFFFF);
            else
                put32(b, at, (quint32(alpha) << 24) | (ink ? 0 : 0xFFFFFF));
        }
    }
    return b;
}

// An 8-bit run-length encoded bitmap: palette entry 0 white, 1 black; the
// black pixels are `black` of the bottom row; with `ended`, the closing mark.
inline QByteArray rleBitmap(const QList<int>& black, bool ended)
{
    QByteArray b(14 + 40 + 256 * 4, '\0');
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 10, quint32(b.size()));
    put32(b, 14, 40);
    put32(b, 18, 192);
    put32(b, 22, 32);
    put16(b, 26, 1);
    put16(b, 28, 8);
    put32(b, 30, 1);
    put32(b, 54, 0x00FFFFFF);
    for (int row = 0; row < 32; ++row) {
        for (int x = 0; x < 192; ++x) {
            b.append(char(1));
            b.append(char(row == 0 && black.contains(x) ? 1 : 0));
        }
        b.append(char(0)).append(char(0));
    }
    if (ended)
        b.append(char(0)).append(char(1));
    put32(b, 34, quint32(b.size() - 14 - 40 - 256 * 4));
    put32(b, 2, quint32(b.size()));
    return b;
}

inline QByteArray qtBitmap(QImage::Format format, const QList<QPoint>& black)
{
    QImage image(192, 32, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (const QPoint& p : black)
        image.setPixel(p, qRgb(0, 0, 0));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(format).save(&buffer, "BMP");
    return bytes;
}

} // namespace hmk::test
