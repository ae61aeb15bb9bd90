#include "BootPicture.h"

#include "LcdColors.h"
#include "image/ImageLayout.h"

#include <QDir>
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
    QImageReader reader(fileName);
    const QImage loaded = reader.read();
    if (loaded.isNull())
        return failure(reader.errorString());
    // Transparent pixels are what the picture shows on white: background.
    QImage flat(loaded.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, loaded);
    painter.end();
    return {flat, {}};
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
