#pragma once

// Windows bitmaps read with their header checked first. Qt's reader fills
// the rows of a file that ends early with background, which the ink rule
// would then take as picture; and it honours an alpha channel that Windows
// programs ignore, so a 32-bit bitmap written with all alpha bytes 0 would
// come out empty. Here a bitmap whose pixel data do not fit the file is
// refused, and 16- and 32-bit pixels are taken by their colour alone.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace hmk {

inline const QString BmpHeaderShortReason = QStringLiteral("位图文件头不完整，文件可能被截断");
inline const QString BmpHeaderDamagedReason = QStringLiteral("位图文件头已损坏");
inline const QString BmpPixelsShortReason = QStringLiteral("位图的像素数据不完整，文件可能被截断");

struct BmpRead
{
    QString error; // the reason the bitmap is refused; empty when it passed
    // The picture for 16- and 32-bit pixels, read here (Format_RGB32); null
    // for the other depths, which Qt's reader decodes once checked.
    QImage image;
};

// `data` is a whole file that starts with the bitmap signature "BM".
BmpRead readBmp(const QByteArray& data);

bool isBmp(const QByteArray& data);

} // namespace hmk
