#include "BootPicture.h"

#include "BmpFile.h"
#include "LcdColors.h"
#include "image/ImageLayout.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

namespace hmk {

PictureFile readPictureFile(const QString& fileName)
{
    const auto failure = [&](const QString& reason) {
        return PictureFile{
            {},
            QStringLiteral("无法读取图片“%1”：%2").arg(QDir::toNativeSeparators(fileName), reason)};
    };
    // Only a regular file is read: opening a pipe waits for a writer, so a
    // pipe named in the settings file would hang the program at start-up.
    const QFileInfo info(fileName);
    if (info.isDir())
        return failure(IsFolderReason);
    if (info.exists() && !info.isFile())
        return failure(NotRegularFileReason);
    // A Windows bitmap is checked and, where its alpha channel would count,
    // read here; every other format goes to Qt's reader as it is.
    QFile file(fileName);
    QByteArray bitmap;
    if (file.open(QIODevice::ReadOnly) && isBmp(file.peek(2)))
        bitmap = file.readAll();
    file.close();
    QImage loaded;
    if (!bitmap.isEmpty()) {
        BmpRead bmp = readBmp(bitmap);
        if (!bmp.error.isEmpty())
            return failure(bmp.error);
        loaded = bmp.image;
        if (loaded.isNull()) {
            QBuffer buffer(&bitmap);
            QImageReader reader(&buffer, "bmp");
            loaded = reader.read();
            if (loaded.isNull())
                return failure(reader.errorString());
        }
    } else {
        QImageReader reader(fileName);
        loaded = reader.read();
        if (loaded.isNull())
            return failure(reader.errorString());
    }
    // Transparent pixels are what the picture shows on white: background.
    QImage flat(loaded.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, loaded);
    painter.end();
    return {flat, {}};
}

bool isPictureInk(QRgb pixel, const PictureOptions& options)
{
    const bool ink = options.ink == PictureOptions::InkRule::Threshold
                         ? qGray(pixel) < options.threshold
                         : isInk(pixel);
    return ink != options.invert;
}

QImage storedPicture(const QImage& picture, const PictureOptions& options)
{
    const QSize screen(layout::ScreenWidth, layout::ScreenHeight);
    if (picture.size() == screen && options.isDefault())
        return picture;
    if (picture.isNull() || (picture.size() != screen && !options.fit))
        return {};

    // The ink of the picture's own pixels: black 0, background 255.
    QImage mask(picture.size(), QImage::Format_Grayscale8);
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* out = mask.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x)
            out[x] = isPictureInk(in[x], options) ? 0 : 255;
    }
    QPoint at(0, 0);
    if (mask.size() != screen) {
        const QSize scaled = mask.size().scaled(screen, Qt::KeepAspectRatio).expandedTo({1, 1});
        mask = mask.scaled(scaled, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        at = QPoint((screen.width() - scaled.width()) / 2, (screen.height() - scaled.height()) / 2);
    }
    QImage stored(screen, QImage::Format_RGB32);
    stored.fill(Qt::white);
    for (int y = 0; y < mask.height(); ++y) {
        const uchar* in = mask.constScanLine(y);
        for (int x = 0; x < mask.width(); ++x) {
            if (in[x] < 128)
                stored.setPixel(at.x() + x, at.y() + y, qRgb(0, 0, 0));
        }
    }
    return stored;
}

void SliceLogoPicture(GlyphBuffers& glyphs, const QImage& bitmap, int CellWidth, int CellHeight)
{
    glyphs.imgFont.fill(Qt::white);
    QPainter painter(&glyphs.imgFont);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (int y = 0; y < bitmap.height() - 1; y += CellHeight) {
        for (int x = 0; x < bitmap.width() - 1; x += CellWidth) {
            painter.drawImage(QPoint(0, 0), bitmap, QRect(x, y, CellWidth, CellHeight));
            glyphs.ReadGlyphColumns(CellWidth);
        }
    }
}

QByteArray pictureBands(GlyphBuffers& glyphs, const QImage& picture)
{
    glyphs.reset();
    SliceLogoPicture(glyphs, picture, GlyphBuffers::CellSize, GlyphBuffers::CellSize);
    // The slicer leaves band 2 in the upper half of FFontsUp and band 1 in
    // the lower half of FFontsLow: exchange them.
    for (int c = 0; c < layout::BandSize; ++c)
        std::swap(glyphs.FFontsUp[layout::BandSize + c], glyphs.FFontsLow[c]);
    return glyphs.FFontsUp + glyphs.FFontsLow;
}

void ConvertPenColor(QImage& holder, const QByteArray& bands)
{
    if (holder.size() != QSize(layout::ScreenWidth, layout::ScreenHeight))
        holder = QImage(layout::ScreenWidth, layout::ScreenHeight, QImage::Format_RGB32);
    for (int b = 0; b < layout::BandCount; ++b) {
        for (int c = 0; c < layout::BandSize; ++c) {
            const auto byte = quint8(bands[b * layout::BandSize + c]);
            for (int r = 0; r < layout::BandRows; ++r) {
                const bool ink = byte & (1u << r);
                holder.setPixelColor(c, b * layout::BandRows + r, ink ? LcdInk : LcdBlue);
            }
        }
    }
}

void WriteLogoPicture(THMK725ConfigData& config, const QByteArray& bands)
{
    config.ExportLogoFonts(bands.first(layout::TitleStripSize), layout::MainTitleStrip,
                           layout::TitleStripSize);
    config.ExportLogoFonts(bands.sliced(layout::TitleStripSize), layout::SubTitleStrip,
                           layout::TitleStripSize);
}

} // namespace hmk
