// Code page 936 conversion for arbitrary bytes: decoding never fails, never
// makes more characters than bytes, and text that decoded cleanly encodes to
// bytes that decode to the same text. The byte cuts never exceed their limit
// and never split a character.

#include "FuzzSupport.h"

#include "image/Codepage.h"

#include <algorithm>

using namespace hmk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    const QString text = cp936::decode(bytes);
    HMK_FUZZ_CHECK(text.size() <= bytes.size());

    const QByteArray encoded = cp936::encode(text);
    HMK_FUZZ_CHECK(cp936::byteCount(text) == encoded.size());
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; }))
        HMK_FUZZ_CHECK(encoded == bytes);

    // The cuts the titles and the configuration name go through.
    const int limit = size > 0 ? data[0] % 40 : 24;
    const QByteArray cut = cp936::encodeTruncated(text, limit);
    HMK_FUZZ_CHECK(cut.size() <= limit);
    HMK_FUZZ_CHECK(encoded.startsWith(cut));
    const QString truncated = cp936::truncateToBytes(text, limit);
    HMK_FUZZ_CHECK(truncated == text || cp936::byteCount(truncated) <= limit);

    // A byte that did not decode became U+FFFD, which the code page lacks;
    // every other character came from the code page and goes back into it.
    if (!text.contains(QChar(QChar::ReplacementCharacter))) {
        HMK_FUZZ_CHECK(cp936::decode(encoded) == text);
        HMK_FUZZ_CHECK(text.startsWith(cp936::decode(cut)));
        HMK_FUZZ_CHECK(text.startsWith(truncated));
    }
    return 0;
}
