#include "BmpFile.h"

#include <QtEndian>

#include <bit>
#include <cstdlib>
#include <limits>

namespace hmk {

namespace {

// Offsets in the file header and in the info header that follows it.
constexpr qsizetype FileHeaderSize = 14;
constexpr qsizetype PixelOffsetField = 10;
constexpr qsizetype InfoSizeField = 14;
constexpr qsizetype CoreHeaderSize = 12;     // the old OS/2 header: 16-bit sizes
constexpr qsizetype InfoHeaderSize = 40;     // BITMAPINFOHEADER and its successors
constexpr qsizetype MaxInfoHeaderSize = 124; // BITMAPV5HEADER
constexpr qsizetype InfoMasksSize = 52;      // headers that hold the colour masks

enum Compression : quint32
{
    Rgb = 0,
    Rle8 = 1,
    Rle4 = 2,
    Bitfields = 3,
    AlphaBitfields = 6,
};

struct Header
{
    qint64 width = 0;
    qint64 height = 0; // negative: rows top-down
    int bitCount = 0;
    quint32 compression = Rgb;
    quint32 colorsUsed = 0;
    qint64 pixelOffset = 0;
    qint64 headerEnd = 0; // info header plus the masks that follow it
    bool core = false;
    quint32 masks[3] = {}; // red, green, blue; alpha plays no part
};

quint16 u16(const QByteArray& d, qsizetype at)
{
    return qFromLittleEndian<quint16>(d.constData() + at);
}

quint32 u32(const QByteArray& d, qsizetype at)
{
    return qFromLittleEndian<quint32>(d.constData() + at);
}

// Reads the header; the reason on failure.
QString readHeader(const QByteArray& d, Header& h)
{
    const qsizetype size = d.size();
    if (size < FileHeaderSize + 4)
        return BmpHeaderShortReason;
    h.pixelOffset = u32(d, PixelOffsetField);
    const qsizetype infoSize = u32(d, InfoSizeField);
    if (infoSize != CoreHeaderSize && (infoSize < InfoHeaderSize || infoSize > MaxInfoHeaderSize))
        return BmpHeaderDamagedReason;
    if (size < FileHeaderSize + infoSize)
        return BmpHeaderShortReason;
    const qsizetype at = FileHeaderSize;
    if (infoSize == CoreHeaderSize) {
        h.core = true;
        h.width = u16(d, at + 4);
        h.height = u16(d, at + 6);
        h.bitCount = u16(d, at + 10);
    } else {
        h.width = qint32(u32(d, at + 4));
        h.height = qint32(u32(d, at + 8));
        h.bitCount = u16(d, at + 14);
        h.compression = u32(d, at + 16);
        h.colorsUsed = u32(d, at + 32);
    }
    h.headerEnd = FileHeaderSize + infoSize;
    if (h.width <= 0 || h.height == 0 || h.height == std::numeric_limits<qint32>::min())
        return BmpHeaderDamagedReason;
    switch (h.bitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
        break;
    case 16:
    case 32:
        // 5-5-5 or 8-8-8 unless the header gives masks.
        if (h.bitCount == 16) {
            h.masks[0] = 0x7C00;
            h.masks[1] = 0x03E0;
            h.masks[2] = 0x001F;
        } else {
            h.masks[0] = 0x00FF0000;
            h.masks[1] = 0x0000FF00;
            h.masks[2] = 0x000000FF;
        }
        if (h.compression == Bitfields || h.compression == AlphaBitfields) {
            // A BITMAPINFOHEADER is followed by the masks; later headers
            // hold them.
            qsizetype maskAt = FileHeaderSize + InfoHeaderSize;
            if (infoSize == InfoHeaderSize)
                h.headerEnd += h.compression == AlphaBitfields ? 16 : 12;
            if (size < h.headerEnd || size < maskAt + 12)
                return BmpHeaderShortReason;
            if (infoSize != InfoHeaderSize && infoSize < InfoMasksSize)
                return BmpHeaderDamagedReason;
            for (int i = 0; i < 3; ++i)
                h.masks[i] = u32(d, maskAt + 4 * i);
        }
        break;
    default:
        return BmpHeaderDamagedReason;
    }
    if (h.pixelOffset < h.headerEnd)
        return BmpHeaderDamagedReason;
    return {};
}

// The run-length encoded pixels must reach their end-of-bitmap mark within
// the file.
bool rleComplete(const QByteArray& d, const Header& h)
{
    qint64 pos = h.pixelOffset;
    const qint64 size = d.size();
    while (pos + 2 <= size) {
        const quint8 count = quint8(d[pos]);
        const quint8 code = quint8(d[pos + 1]);
        pos += 2;
        if (count > 0 || code == 0) // a run, or the end of a line
            continue;
        if (code == 1) // end of the bitmap
            return true;
        if (code == 2) { // a move: two more bytes
            pos += 2;
            continue;
        }
        // `code` pixels given one by one, padded to a whole 16-bit word.
        const qint64 bytes = h.compression == Rle8 ? code : (code + 1) / 2;
        pos += (bytes + 1) & ~qint64(1);
    }
    return false;
}

// One colour channel by its mask, widened to 8 bits.
int channel(quint32 pixel, quint32 mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const quint32 max = mask >> shift;
    return int(quint64((pixel & mask) >> shift) * 255 / max);
}

QImage readDirectPixels(const QByteArray& d, const Header& h, qint64 stride)
{
    const int width = int(h.width);
    const int height = int(std::abs(h.height));
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const int bytesPerPixel = h.bitCount / 8;
    const auto* data = reinterpret_cast<const uchar*>(d.constData());
    for (int row = 0; row < height; ++row) {
        const int y = h.height > 0 ? height - 1 - row : row;
        const uchar* line = data + h.pixelOffset + stride * row;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const uchar* p = line + x * bytesPerPixel;
            const quint32 pixel =
                bytesPerPixel == 2 ? qFromLittleEndian<quint16>(p) : qFromLittleEndian<quint32>(p);
            out[x] = qRgb(channel(pixel, h.masks[0]), channel(pixel, h.masks[1]),
                          channel(pixel, h.masks[2]));
        }
    }
    return image;
}

} // namespace

bool isBmp(const QByteArray& data)
{
    return data.startsWith("BM");
}

BmpRead readBmp(const QByteArray& d)
{
    Header h;
    if (QString reason = readHeader(d, h); !reason.isEmpty())
        return {reason, {}};
    const qint64 size = d.size();

    if (h.bitCount <= 8) {
        const qint64 entries = h.colorsUsed != 0 ? h.colorsUsed : (qint64(1) << h.bitCount);
        if (entries > 256)
            return {BmpHeaderDamagedReason, {}};
        if (h.headerEnd + entries * (h.core ? 3 : 4) > size)
            return {BmpHeaderShortReason, {}};
    }

    if ((h.compression == Rle8 && h.bitCount == 8) || (h.compression == Rle4 && h.bitCount == 4)) {
        if (h.height < 0)
            return {BmpHeaderDamagedReason, {}};
        return {rleComplete(d, h) ? QString() : BmpPixelsShortReason, {}};
    }
    if (h.compression != Rgb && h.compression != Bitfields && h.compression != AlphaBitfields) {
        // Pictures embedded in other formats: Qt's reader decides.
        return {};
    }

    const qint64 stride = (h.width * h.bitCount + 31) / 32 * 4;
    const qint64 rows = std::abs(h.height);
    if (stride > size || rows > size || h.pixelOffset + stride * rows > size)
        return {BmpPixelsShortReason, {}};
    if (h.bitCount == 16 || h.bitCount == 32)
        return {{}, readDirectPixels(d, h, stride)};
    return {};
}

} // namespace hmk
