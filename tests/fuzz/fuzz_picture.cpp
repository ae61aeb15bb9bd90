// The boot-picture import for arbitrary bytes: the file is decoded, its size
// checked and a 192 x 32 picture cut into the four glyph bands. The import
// reads a file, so each input is written to one file in a folder made once.

#include "FuzzSupport.h"

#include "bootscreen/BootScreenModel.h"
#include "image/ImageLayout.h"

#include <QFile>
#include <QTemporaryDir>

using namespace hmk;

namespace {

QTemporaryDir* folder = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::startGuiApplication();
    folder = new QTemporaryDir;
    HMK_FUZZ_CHECK(folder->isValid());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The dialog offers bitmaps; the reader still looks at the content, so a
    // PNG (or anything else Qt reads) named .bmp is decoded too.
    const QString path = folder->filePath(QStringLiteral("picture.bmp"));
    {
        QFile file(path);
        HMK_FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        HMK_FUZZ_CHECK(file.write(reinterpret_cast<const char*>(data), qint64(size)) ==
                       qint64(size));
    }

    BootScreenModel boot;
    boot.setStyleIndex(1);
    const QByteArray before = boot.pictureBytes();
    const PictureResult result = boot.LoadLogoPicture(path);
    switch (result.outcome) {
    case PictureResult::Loaded:
        HMK_FUZZ_CHECK(boot.hasPicture());
        HMK_FUZZ_CHECK(boot.picFileName() == path);
        HMK_FUZZ_CHECK(boot.imgScreen().size() == QSize(layout::ScreenWidth, layout::ScreenHeight));
        HMK_FUZZ_CHECK(boot.pictureBytes().size() == layout::LogoPixelFontsSize);
        break;
    case PictureResult::WrongSize:
    case PictureResult::Unreadable:
        // A refused file changes nothing; an unreadable one says why.
        HMK_FUZZ_CHECK(!boot.hasPicture());
        HMK_FUZZ_CHECK(boot.pictureBytes() == before);
        HMK_FUZZ_CHECK(result.outcome == PictureResult::WrongSize || !result.error.isEmpty());
        break;
    }
    return 0;
}
