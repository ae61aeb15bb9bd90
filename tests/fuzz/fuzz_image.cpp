// The image opener's path for arbitrary bytes: the block check, and for an
// image that passes it everything an open does with the bytes (parameters,
// configuration name, boot screen). Every input is also tried once more with
// its three checksums made to match, so that the restore code sees damaged
// fields and not only the rare input whose checksums happen to fit. What is
// restored must save and open again to the same values.

#include "FuzzSupport.h"

#include "bootscreen/BootScreenModel.h"
#include "image/CfgHMK725.h"
#include "params/ConfigBuilder.h"
#include "params/ConfigOpener.h"

#include <algorithm>
#include <cstring>

using namespace hmk;

namespace {

bool sameValues(const ParamValues& a, const ParamValues& b)
{
    for (int i = 0; i < ParamCount; ++i) {
        if (a[i].number != b[i].number || a[i].choice != b[i].choice || a[i].text != b[i].text)
            return false;
    }
    return true;
}

void openImage(const quint8* image)
{
    const ParamValues values = RestoreParams(image);
    const QString name = configNameFromImage(image);
    HMK_FUZZ_CHECK(name.isEmpty() ||
                   (name.front().unicode() > 0x20 && name.back().unicode() > 0x20));
    (void)configCaption(name);

    BootScreenModel boot;
    boot.RestoreLogo(image);
    HMK_FUZZ_CHECK(boot.imgLcd().size() == QSize(585, 192));

    // Saving what was opened: a picture comes back byte for byte, the
    // parameters as the controls held them.
    THMK725ConfigData config;
    if (ExportConfig(QStringLiteral("/tmp/x.hkf"), values, boot, config) != ExportResult::Built)
        return;
    HMK_FUZZ_CHECK(VerifyImage(config.data().data()));
    if (boot.isPic()) {
        HMK_FUZZ_CHECK(std::memcmp(config.data().data() + layout::LogoPixelFonts,
                                   image + layout::LogoPixelFonts,
                                   layout::LogoPixelFontsSize) == 0);
    }
    if (!boot.notEnableParam())
        HMK_FUZZ_CHECK(sameValues(RestoreParams(config.data().data()), values));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::startGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The opener's own path: the first 4096 bytes, checked as a file of this
    // content would be.
    const ImageFileOpen open =
        openImageBytes(QByteArrayView(data, qsizetype(size)), QStringLiteral("fuzz.hkf"));
    const ImageCheck check = open.check;
    HMK_FUZZ_CHECK(open.status.ok());
    HMK_FUZZ_CHECK(describe(check)[0] != '\0');
    HMK_FUZZ_CHECK((check == ImageCheck::TooShort) == (size < size_t(layout::ImageSize)));
    HMK_FUZZ_CHECK(open.bytes.size() == qsizetype(std::min(size, size_t(layout::ImageSize))));
    HMK_FUZZ_CHECK(open.longer() == (size > size_t(layout::ImageSize)));
    HMK_FUZZ_CHECK(open.checkMessage.isEmpty() == open.ok());
    if (check == ImageCheck::TooShort)
        return 0;
    ImageBytes image;
    std::memcpy(image.data(), open.data(), image.size());
    HMK_FUZZ_CHECK(VerifyImage(image.data()) == (check == ImageCheck::Ok));
    if (check == ImageCheck::Ok)
        openImage(image.data());

    // The same bytes with matching checksums.
    for (const layout::Block& block : layout::Blocks) {
        const quint16 crc =
            THMK725ConfigData::CalcCRC(image.data() + block.start, block.covered(), 0xFFFF);
        image[block.crcLow()] = quint8(crc & 0xFF);
        image[block.crcHigh()] = quint8(crc >> 8);
    }
    HMK_FUZZ_CHECK(VerifyImage(image.data()));
    if (check != ImageCheck::Ok)
        openImage(image.data());
    return 0;
}
